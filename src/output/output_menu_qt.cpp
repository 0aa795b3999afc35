#include "output/output_menu_qt.h"

#include <QWidget>

namespace r470 {

OutputMenu::OutputMenu(QWidget* window, Workspace& session, Display& display, Prompts& prompts,
                       const LabelSource& labels, FileChooser& files)
    : commands_(session, display, prompts, labels), printer_(window), picture_([window] {
          // The outer size, frame and title bar included, as the window stands now.
          QSize s = window->frameGeometry().size();
          return WindowSize{s.width(), s.height()};
      }),
      files_(files) {}

} // namespace r470
