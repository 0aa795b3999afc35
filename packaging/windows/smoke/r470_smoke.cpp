// Writes which platform plugin and style Qt chose, whether PNG and BMP can be written and
// which printers it sees, shows a window with non-ASCII text and quits after a while.
// Usage: r470.exe REPORT_FILE [MILLISECONDS]
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPrinterInfo>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QBuffer png, bmp;
    QString report = QString("platform=%1\nstyle=%2\npng=%3\nbmp=%4\nprinters=%5\n")
                         .arg(QGuiApplication::platformName(), app.style()->name())
                         .arg(image.save(&png, "PNG"))
                         .arg(image.save(&bmp, "BMP"))
                         .arg(QPrinterInfo::availablePrinterNames().join(","));
    QWidget window;
    window.setWindowTitle("R470 Qt check");
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(report.trimmed() + "\nÄÖÜ µs é"));
    window.resize(420, 240);
    window.show();
    if (argc > 1) {
        QFile file(QString::fromUtf8(argv[1]));
        if (!file.open(QIODevice::WriteOnly) || file.write(report.toUtf8()) < 0) return 2;
    }
    QTimer::singleShot(argc > 2 ? QString(argv[2]).toInt() : 3000, &app, &QApplication::quit);
    return app.exec();
}
