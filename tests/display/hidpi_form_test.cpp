// The main window on a screen of twice the density: the graph drawn in device pixels.
#include "display/graph_surface_qt.h"
#include "main/main_form.h"
#include "support/main_window.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <QtTest>

using namespace r470;

class HiDpiTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::TempDir> dir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<TMainForm> form;

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

    void theGraphIsDrawnInDevicePixels() {
        GraphSurface* client = form->Surface();
        QCOMPARE(client->devicePixelRatioF(), 2.0);
        QCOMPARE(form->commands().LoadFile(R470_SAMPLES "/FEEDER1.KEL"), 0);
        QCOMPARE(form->commands().LoadFile(R470_SAMPLES "/FEEDER2.KEL"), 0);
        QCoreApplication::processEvents();
        const QImage& img = client->image();
        const DisplayState& s = form->display().state();
        QCOMPARE(img.size(), client->size() * 2);
        QCOMPARE(s.GraphRight, img.width());
        QCOMPARE(s.GraphBottom, 2 * (client->height() - 140));

        // A cursor is one device pixel wide: its column is black, the next one is not.
        const int cx = form->display().MapNsToX(s.Cursor1Ns);
        int here = 0, beside = 0;
        for (int y = s.GraphTop; y < s.TraceBottom; ++y) {
            here += img.pixelColor(cx, y) == QColor(Qt::black);
            beside += img.pixelColor(cx + 1, y) == QColor(Qt::black);
        }
        QVERIFY(here > (s.TraceBottom - s.GraphTop) / 2);
        QVERIFY(beside < 10);
        // Traces are not window pixels doubled: some pixel differs from its pair.
        int differ = 0;
        for (int y = s.GraphTop; y < s.TraceBottom; ++y)
            for (int x = 0; x + 1 < img.width(); x += 2)
                differ += img.pixel(x, y) != img.pixel(x + 1, y);
        QVERIFY(differ > 100);
        // Texts at the window's own scale.
        QVERIFY(s.LineHeight >= 2 * QFontMetrics(form->font()).height() - 2);

        // The mouse works in window pixels: 8 of them from the cursor still grab it.
        const QPoint at(cx / 2 + 8, (s.GraphTop + s.TraceBottom) / 4);
        QTest::mousePress(client, Qt::LeftButton, {}, at);
        QCOMPARE(s.DragCursor, 1);
        QTest::mouseRelease(client, Qt::LeftButton, {}, at);
        client->grab().save("/tmp/r470_hidpi.png");
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "hidpi_form_test.moc"
