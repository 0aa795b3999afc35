// The main window's "Find fault", "Next event" and "Previous event": the core places the
// cursors and says when there is nothing to find.
#include "display/fault_cursors.h"
#include "main/main_form.h"

namespace r470 {

void TMainForm::MenuFindFaultClick() {
    Painted([this] { FindFault(session_.set, *display_, *prompts_); });
}

void TMainForm::MenuNextEventClick() {
    Painted([this] { StepEvent(session_.set, *display_, *prompts_, +1); });
}

void TMainForm::MenuPrevEventClick() {
    Painted([this] { StepEvent(session_.set, *display_, *prompts_, -1); });
}

} // namespace r470
