// The window program: creates its windows and runs until the main window closes.
#include "common/file_io.h"
#include "instrument/port_release.h"
#include "main/about_form.h"
#include "main/main_form.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    bool headless = platform && std::string(platform) == "offscreen";
    if (!headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "r470 needs a display. Without one, run it under a virtual display:\n"
                             "  xvfb-run -a make run\n");
        return 1;
    }
    // A logout (SIGHUP) or a kill must not leave the instrument's port held.
    r470::ReleasePortsOnSignals("r470: cancelled\n", true);
    QApplication app(argc, argv);
    r470::AppPaths paths =
        r470::DefaultAppPaths(QCoreApplication::applicationFilePath().toStdString(),
                              r470::UserConfigDir(), QDir::currentPath().toStdString());
    // The windows of the whole run, main window first.
    r470::TMainForm mainForm(paths);
    r470::TAboutForm aboutForm(&mainForm);
    mainForm.SetAboutForm(&aboutForm);
    mainForm.show();
    return app.exec();
}
