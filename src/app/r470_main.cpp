// The window program: creates its windows and runs until the main window closes. Waveform
// files named on the command line (as "Open with" passes them) are loaded once it shows.
#include "app/r470_platform.h"
#include "common/file_io.h"
#include "instrument/port_release.h"
#include "main/about_form.h"
#include "main/main_form.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

namespace {

// Paths as the system shows them: Qt hands them out with '/' even on Windows.
std::string NativePath(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

} // namespace

int main(int argc, char** argv) {
    r470::PrepareProcess();
    if (!r470::DisplayAvailable())
        return 1;
    // A logout (SIGHUP) or a kill must not leave the instrument's port held.
    r470::ReleasePortsOnSignals("r470: cancelled\n", true);
    QApplication app(argc, argv);
    // Files named on the command line are taken from where the program was started.
    std::vector<std::string> files;
    for (const QString& f : QCoreApplication::arguments().mid(1))
        files.push_back(NativePath(QDir::current().absoluteFilePath(f)));
    const std::string started = NativePath(QDir::currentPath());
    std::string working = r470::WorkingFolder(
        started, NativePath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    if (working != started && !(QDir().mkpath(QString::fromStdString(working)) &&
                                QDir::setCurrent(QString::fromStdString(working))))
        working = started;
    r470::AppPaths paths =
        r470::DefaultAppPaths(NativePath(QCoreApplication::applicationFilePath()),
                              r470::UserConfigDir(), r470::IniFolder(), working);
    // The windows of the whole run, main window first.
    r470::TMainForm mainForm(paths);
    r470::TAboutForm aboutForm(&mainForm);
    mainForm.SetAboutForm(&aboutForm);
    mainForm.show();
    if (!files.empty())
        QTimer::singleShot(0, &mainForm, [&mainForm, files] { mainForm.OpenFiles(files); });
    return app.exec();
}
