#include "display/files_panel_qt.h"
#include "display/graph_surface_qt.h"
#include "main/main_form.h"
#include "support/main_window.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace r470;

// The display inside the real main window: samples loaded through the core, then the
// pixels of the backing image and the details panel checked.
class MainDisplayTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDir> dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<TMainForm> form;

    static QColor Pixel(const QImage& img, int x, int y) { return img.pixelColor(x, y); }
    int CountColour(int x0, int x1, QColor c) {
        const QImage& img = form->Surface()->image();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = x0; x < x1; ++x)
                n += Pixel(img, x, y) == c;
        return n;
    }

  private slots:
    void init() {
        dir = std::make_unique<test::TempDir>();
        form = test::ShowMainForm(*dir, prompts);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        test::CloseMainForm(form);
        dir.reset();
    }

    void twoSamplesShowTracesCursorsReadoutsAndDetails() {
        QCOMPARE(form->commands().LoadFile(R470_SAMPLES "/FEEDER1.KEL"), 0);
        QCOMPARE(form->commands().LoadFile(R470_SAMPLES "/FEEDER2.KEL"), 0);
        QVERIFY(!form->InfoPanel()->isVisible());
        QCoreApplication::processEvents();
        const QImage& img = form->Surface()->image();
        QCOMPARE(img.size(), form->Surface()->size());
        const DisplayState& s = form->display().state();
        // Both waveforms in their colours, in the trace band only.
        QVERIFY(CountColour(0, img.width(), QColor(255, 0, 0)) > 300);
        QVERIFY(CountColour(0, img.width(), QColor(0, 128, 0)) > 300);
        // The cursor line: black from the graph top to the band's bottom at its x.
        int cx = form->display().MapNsToX(s.Cursor1Ns);
        QCOMPARE(Pixel(img, cx, s.GraphTop + 2), QColor(Qt::black));
        QCOMPARE(Pixel(img, cx, s.TraceBottom - 1), QColor(Qt::black));
        // The base line of the scale.
        QCOMPARE(Pixel(img, 5, s.TraceBottom), QColor(Qt::black));
        // The details of the selected waveform (slot 2).
        FilesPanel* files = form->Files();
        QCOMPARE(files->Label("LFilename")->text(), QString("Filename"));
        QVERIFY(files->Label("SFilename")->text().endsWith("FEEDER2.KEL"));
        QCOMPARE(files->Label("SMemFN2")->text(), QString("2"));
        QCOMPARE(files->Label("SGain")->text(), QString("3+0dB"));
        QCOMPARE(files->Label("SPulse")->text(), QString("10ns"));
        QCOMPARE(files->TraceButton(1)->text(), QString("FEEDER1"));
        QCOMPARE(files->TraceButton(2)->text(), QString("FEEDER2"));
        QCOMPARE(files->Strip(1)->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(files->TraceButton(1)->geometry().right() + 1, files->width());
        QCOMPARE(files->Strip(1)->x(), files->TraceButton(1)->x() - 7);
        form->Surface()->grab().save("/tmp/r470_two_waveforms.png");
    }

    void draggingACursorUpdatesTheReadout() {
        QCOMPARE(form->commands().LoadFile(R470_SAMPLES "/FEEDER1.KEL"), 0);
        const DisplayState& s = form->display().state();
        int cx = form->display().MapNsToX(s.Cursor1Ns);
        int y = (s.GraphTop + s.TraceBottom) / 2;
        QTest::mousePress(form->Surface(), Qt::LeftButton, {}, QPoint(cx + 8, y));
        QCOMPARE(s.DragCursor, 1);
        QMouseEvent move(QEvent::MouseMove, QPointF(100, y), QPointF(100, y), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->Surface(), &move);
        QTest::mouseRelease(form->Surface(), Qt::LeftButton, {}, QPoint(100, y));
        QCOMPARE(s.DragCursor, 0);
        QCOMPARE(s.Cursor1Ns, form->display().MapXToNs(100));
        QCoreApplication::processEvents();
        const QImage& img = form->Surface()->image();
        QCOMPARE(Pixel(img, form->display().MapNsToX(s.Cursor1Ns), y), QColor(Qt::black));
        // Cursor 2 stays where both started, now dashed: its column has gaps.
        int black = 0;
        for (int yy = s.GraphTop; yy < s.TraceBottom; ++yy)
            black += Pixel(img, cx, yy) == QColor(Qt::black);
        QVERIFY(black > 10);
        QVERIFY(black < s.TraceBottom - s.GraphTop - 10);
        // Erasing a cursor leaves the scale's base line whole.
        for (int x = 1; x < img.width() - 1; ++x)
            QVERIFY2(Pixel(img, x, s.TraceBottom) == QColor(Qt::black),
                     qPrintable(QString::number(x)));
        form->Surface()->grab().save("/tmp/r470_dragged.png");
    }

    void resizeRedrawsAtTheNewSize() {
        QCOMPARE(form->commands().LoadFile(R470_SAMPLES "/SHORT.KEL"), 0);
        form->resize(900, 600);
        QCoreApplication::processEvents();
        QCOMPARE(form->display().state().GraphRight, form->Surface()->width());
        QCOMPARE(form->Surface()->image().width(), form->Surface()->width());
        QVERIFY(CountColour(600, form->Surface()->width(), QColor(255, 0, 0)) > 50);
    }
};

QTEST_MAIN(MainDisplayTest)
#include "main_display_form_test.moc"
