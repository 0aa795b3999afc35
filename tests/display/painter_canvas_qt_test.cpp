#include "display/painter_canvas_qt.h"
#include "shell/text_qt.h"

#include <QImage>
#include <QtTest>

using namespace r470;

// The Qt canvas on an image: pixel by pixel, the conventions the drawing code relies on.
class PainterCanvasTest : public QObject {
    Q_OBJECT

    static QImage White(int w = 40, int h = 30) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::white);
        return img;
    }

  private slots:
    void linesCoverTheirFirstPointButNotTheirLast() {
        QImage img = White();
        PainterCanvas c(&img);
        c.SetPenColour(kBlack);
        c.MoveTo(5, 5);
        c.LineTo(15, 5);
        c.LineTo(15, 12);
        c.Flush();
        QCOMPARE(img.pixelColor(5, 5), QColor(Qt::black));
        QCOMPARE(img.pixelColor(14, 5), QColor(Qt::black));
        QCOMPARE(img.pixelColor(15, 5), QColor(Qt::black)); // "first point of the second line"
        QCOMPARE(img.pixelColor(15, 11), QColor(Qt::black));
        QCOMPARE(img.pixelColor(15, 12), QColor(Qt::white));
        QCOMPARE(img.pixelColor(4, 5), QColor(Qt::white));
    }

    void eachLineKeepsThePenItWasDrawnWith() {
        QImage img = White();
        PainterCanvas c(&img);
        c.SetPenColour({255, 0, 0});
        c.MoveTo(0, 2);
        c.LineTo(10, 2);
        c.SetPenColour({0, 0, 255});
        c.MoveTo(0, 4);
        c.LineTo(10, 4);
        c.SetPenStyle(PenStyle::Dash);
        c.SetPenColour(kBlack);
        c.MoveTo(0, 20);
        c.LineTo(39, 20);
        c.Flush();
        QCOMPARE(img.pixelColor(3, 2), QColor(255, 0, 0));
        QCOMPARE(img.pixelColor(3, 4), QColor(0, 0, 255));
        int black = 0;
        for (int x = 0; x < 39; ++x)
            black += img.pixelColor(x, 20) == QColor(Qt::black);
        QVERIFY(black > 10 && black < 35); // dashed: gaps along the line
    }

    void rectanglesLeaveTheirRightAndBottomEdges() {
        QImage img = White();
        PainterCanvas c(&img);
        c.SetPenColour(kBlack);
        c.Rectangle(2, 3, 12, 9);
        c.Flush();
        QCOMPARE(img.pixelColor(2, 3), QColor(Qt::black));
        QCOMPARE(img.pixelColor(11, 8), QColor(Qt::black));
        QCOMPARE(img.pixelColor(12, 8), QColor(Qt::white));
        QCOMPARE(img.pixelColor(11, 9), QColor(Qt::white));
        QCOMPARE(img.pixelColor(6, 6), QColor(Qt::white)); // "filled white inside"
    }

    void clearingToWhiteRemovesWhateverWasDrawnThere() {
        QImage img = White(200, 100);
        PainterCanvas c(&img);
        c.SetPenColour({0, 128, 0});
        for (int y = 10; y < 90; y += 7) {
            c.MoveTo(0, y);
            c.LineTo(199, y + 3);
        }
        c.TextOut(20, 40, "12.5m");
        c.SetPenColour(kWhite);
        c.Rectangle(0, 0, 200, 60);
        c.Flush();
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                QVERIFY2(img.pixelColor(x, y) == QColor(Qt::white),
                         qPrintable(QString("%1,%2").arg(x).arg(y)));
        int green = 0;
        for (int x = 0; x < 199; ++x)
            for (int y = 87; y <= 90; ++y)
                green += img.pixelColor(x, y) == QColor(0, 128, 0);
        QCOMPARE(green, 199); // "below the cleared area the lines stay"
    }

    void textIsWrittenOnWhite() {
        InstallFontSubstitutes();
        QImage img = White(120, 40);
        img.fill(Qt::black);
        PainterCanvas c(&img);
        c.SetFont("Arial", 10, kBlack);
        c.TextOut(4, 4, "Cursor 1 : ");
        c.Flush();
        QVERIFY(c.TextWidth("Cursor 1 : ") > 30);
        QCOMPARE(img.pixelColor(4, 4), QColor(Qt::white)); // "opaque white background"
        QCOMPARE(img.pixelColor(4 + c.TextWidth("Cursor 1 : ") + 1, 4), QColor(Qt::black));
    }
};

QTEST_MAIN(PainterCanvasTest)
#include "painter_canvas_qt_test.moc"
