#include "display/cable_commands.h"

#include "analysis/vf_known_length.h"
#include "common/cp1252.h"
#include "display/display.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "waveform/units.h"
#include "waveform/waveform_set.h"

#include <cmath>

namespace r470 {

const char* const kKnownLengthName = "From known length";

namespace {

const char* const kCableTypeCaption = "Cable type";
std::string UnreadText(const std::string& path, const UserCableFile& file, const char* outcome) {
    return "Your cable list " + path + " cannot be read (" + CableFileErrorText(file.error) +
           "). " + outcome;
}

} // namespace

CableDialogModel::CableDialogModel(Workspace& session, Display& display, Prompts& prompts,
                                   std::string listPath)
    : session_(session), display_(display), prompts_(prompts), listPath_(std::move(listPath)),
      library_(user_) {}

void CableDialogModel::Reload() {
    user_ = ReadUserCables(listPath_);
    library_ = CableLibrary(user_);
    // Told once for the file as it is: the dialog opens often, the file changes seldom.
    if (user_.error == 0 && user_.problems.empty()) {
        session_.toldFiles.erase(listPath_);
        return;
    }
    auto told = session_.toldFiles.find(listPath_);
    if (told != session_.toldFiles.end() && told->second == user_.digest)
        return;
    session_.toldFiles[listPath_] = user_.digest;
    if (user_.error != 0) {
        prompts_.ShowMessageBox(UnreadText(listPath_, user_, "Only the built-in cables are shown."),
                                MessageText(MsgProblem), MbOk | MbIconExclamation);
        return;
    }
    std::string lines;
    for (const CableLineProblem& p : user_.problems)
        lines += (lines.empty() ? "" : "\r\n") + CableLineText(p);
    prompts_.ShowTextWindow(MessageText(MsgProblem),
                            "These lines of " + listPath_ +
                                " were skipped; the other cables are listed. This is said "
                                "again only when the file changes.",
                            lines);
}

std::vector<CableRow> CableDialogModel::Rows(const std::string& filter) const {
    const int dielUnits = session_.settings.DielUnits;
    std::vector<CableRow> rows;
    for (const CableEntry& e : library_.Entries()) {
        if (!CableMatches(e, filter))
            continue;
        std::string velocity;
        if (dielUnits != DielPvf)
            velocity = Fixed(VelocityValue(dielUnits, session_.settings.XAxisUnits, e.diel), 1);
        rows.push_back({e.name, PvfText(e.diel), velocity, e.note, e.user ? "user" : "built-in"});
    }
    return rows;
}

std::string CableDialogModel::VelocityHeading() const {
    const int dielUnits = session_.settings.DielUnits;
    if (dielUnits == DielPvf)
        return "";
    std::string name = MessageText(dielUnits == DielV ? 57 : 58);
    // VelocityValue gives ft/us on a feet axis and m/us on the others.
    return name + MessageText(Feet() ? 203 : 204);
}

bool CableDialogModel::Feet() const {
    return session_.settings.XAxisUnits == AxisFeet;
}

std::string CableDialogModel::LengthUnit() const {
    return Feet() ? "ft" : "m";
}

std::string CableDialogModel::CursorTimeText() const {
    const DisplayState& s = display_.state();
    return "Cursor 1 to 2: " + Fixed(std::abs(s.Cursor2Ns - s.Cursor1Ns), 1) + " ns";
}

bool CableDialogModel::Calibrate(const std::string& lengthText) {
    calibrated_.reset();
    savedName_.clear();
    const DisplayState& s = display_.state();
    std::optional<double> length = ParseDecimal(lengthText);
    // A cursor not placed stands at -1: no time to measure.
    double ns = s.Cursor1Ns < 0 || s.Cursor2Ns < 0 ? 0 : std::abs(s.Cursor2Ns - s.Cursor1Ns);
    KnownLengthFactor f = FactorFromKnownLength(length.value_or(NAN), Feet(), ns);
    if (!f.refusal.empty()) {
        prompts_.ShowMessageBox(f.refusal, MessageText(MsgProblem), MbOk | MbIconExclamation);
        return false;
    }
    calibrated_ = f.diel;
    length_ = *length;
    return true;
}

std::string CableDialogModel::CalibrationText() const {
    return calibrated_ ? MessageText(56) + " " + PvfText(*calibrated_) : "";
}

std::optional<CableChoice> CableDialogModel::Calibrated() const {
    if (!calibrated_)
        return std::nullopt;
    return CableChoice{*calibrated_, savedName_.empty() ? kKnownLengthName : savedName_};
}

bool CableDialogModel::SaveCalibration(const std::string& name) {
    if (!calibrated_)
        return false;
    auto problem = [this](const std::string& text) {
        prompts_.ShowMessageBox(text, MessageText(MsgProblem), MbOk | MbIconExclamation);
        return false;
    };
    if (std::string why = CableNameProblem(name); !why.empty())
        return problem(why);
    user_ = ReadUserCables(listPath_); // it may have been edited meanwhile
    if (user_.error != 0)
        return problem(UnreadText(listPath_, user_, "It is left as it is."));
    for (const CableEntry& e : user_.entries) {
        if (!SameCableName(e.name, name))
            continue;
        std::string question = "Replace \"" + e.name + "\" (" + Cp1252ToUtf8(MessageText(56)) +
                               " " + PvfText(e.diel) + ") in your cable list?";
        if (prompts_.ShowUtf8MessageBox(question, MessageText(MsgConfirm),
                                        MbYesNo | MbIconQuestion) != IdYes)
            return false;
    }
    CableEntry entry{name, *calibrated_,
                     "measured on " + TrimZeros(Fixed(length_, 2)) + " " + LengthUnit(), true, 0};
    if (int code = SaveUserCable(listPath_, user_, entry); code != 0)
        return problem("Cannot write " + listPath_ + ": " + IoErrorText(code));
    library_ = CableLibrary(user_);
    savedName_ = library_.Find(name)->name;
    return true;
}

std::optional<CableChoice> CableDialogModel::Choice(const std::string& name) const {
    const CableEntry* e = library_.Find(name);
    if (!e)
        return std::nullopt;
    return CableChoice{e->diel, e->name};
}

void Display::ShowCableName() {
    if (session_.set.TraceCount < 1)
        return;
    host_.SetLabel("LCableType", s_.CableName.empty() ? "" : kCableTypeCaption, kBlack);
    host_.SetLabel("SCableType", s_.CableName, kBlack);
}

void ApplyCable(Display& display, Prompts& prompts, const CableChoice& choice) {
    display.ChangeDiel(choice.diel, prompts);
    // The details panel and the page show the program's code page.
    display.state().CableName = Utf8ToCp1252(choice.name);
    display.ShowCableName();
}

void CableTypeCommand(Workspace& session, Display& display, Prompts& prompts, CableWindow& window,
                      const std::string& listPath) {
    if (NoTraces(session.set, prompts))
        return;
    CableDialogModel model(session, display, prompts, listPath);
    model.Reload();
    if (std::optional<CableChoice> choice = window.ChooseCable(model))
        ApplyCable(display, prompts, *choice);
}

} // namespace r470
