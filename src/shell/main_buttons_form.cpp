// The toolbar buttons of the main window: both toolbars call the same operations, and the
// stepping buttons go through the press-and-hold rules.
#include "shell/main_form.h"

#include <QPushButton>

namespace r470 {

void TMainForm::ModeNClick() {
    MenuSelWaveClick();
}
void TMainForm::ModeIClick() {
    MenuSelWaveClick();
}
void TMainForm::Left1NClick() {
    TaggedClick(TagLeft1);
}
void TMainForm::Left1IClick() {
    TaggedClick(TagLeft1);
}
void TMainForm::Right1NClick() {
    TaggedClick(TagRight1);
}
void TMainForm::Right1IClick() {
    TaggedClick(TagRight1);
}
void TMainForm::Left2NClick() {
    TaggedClick(TagLeft2);
}
void TMainForm::Left2IClick() {
    TaggedClick(TagLeft2);
}
void TMainForm::Right2NClick() {
    TaggedClick(TagRight2);
}
void TMainForm::Right2IClick() {
    TaggedClick(TagRight2);
}
void TMainForm::UpClick() {
    TaggedClick(TagUp);
}
void TMainForm::DownClick() {
    TaggedClick(TagDown);
}
void TMainForm::AmpUpClick() {
    TaggedClick(TagAmpUp);
}
void TMainForm::AmpDnClick() {
    TaggedClick(TagAmpDown);
}
void TMainForm::DielUpClick() {
    TaggedClick(TagDielUp);
}
void TMainForm::DielDnClick() {
    TaggedClick(TagDielDown);
}
void TMainForm::SaveNClick() {
    MenuSaveClick();
}
void TMainForm::SaveIClick() {
    MenuSaveClick();
}
void TMainForm::RecallNClick() {
    MenuAddWaveClick();
}
void TMainForm::RecallIClick() {
    MenuAddWaveClick();
}
void TMainForm::RngUpNClick() {
    Painted([this] { display_->ChangeRange(1, *prompts_); });
}
void TMainForm::RngUpIClick() {
    RngUpNClick();
}
void TMainForm::RngDnNClick() {
    Painted([this] { display_->ChangeRange(0, *prompts_); });
}
void TMainForm::RngDnIClick() {
    RngDnNClick();
}
void TMainForm::ZoomNClick() {
    MenuZoomClick();
}
void TMainForm::ZoomIClick() {
    MenuZoomClick();
}
void TMainForm::dBRLNClick() {
    ShowdBRL();
}
void TMainForm::dBRLIClick() {
    ShowdBRL();
}

} // namespace r470
