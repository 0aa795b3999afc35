// The menu bar, both toolbars and the start panel of the main window, built from tables.
#include "main/main_menus_form.h"

#include "archive/archive_commands.h"
#include "archive/archive_file_form.h"
#include "archive/archive_form.h"
#include "common/cp1252.h"
#include "common/file_io.h"
#include "display/both_ends_form.h"
#include "display/cable_form.h"
#include "display/compare.h"
#include "display/dielec_form.h"
#include "display/fault_cursors.h"
#include "display/graph_surface_qt.h"
#include "instrument/instrument_commands.h"
#include "main/access_menu_bar_qt.h"
#include "main/main_form.h"
#include "main/toolbar_layout.h"
#include "output/output_menu_qt.h"
#include "output/report_archive.h"
#include "output/report_form.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "shell/text_qt.h"
#include "waveform/add_comm_form.h"
#include "waveform/ch_wave_form.h"
#include "waveform/comm_opt_form.h"
#include "waveform/comments.h"
#include "waveform/edit_comm_form.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace r470 {

namespace {
using M = TMainForm;

// An edit that chose a waveform shows it as the selected one.
void Edited(M& f, int slot) {
    if (slot)
        f.display().SelectTrace(slot, f.prompts());
}

// "Cable type": the user's list lives in their configuration folder.
void ChooseCable(M& f) {
    TCableForm form(&f);
    const AppPaths& paths = f.session().paths;
    std::string list =
        CableListPath(paths.configDir.empty() ? DirName(paths.iniFile) : paths.configDir);
    CableTypeCommand(f.session(), f.display(), f.prompts(), form, list);
}

// "Fault from both ends...": the current waveform is end A.
void AskFaultFromBothEnds(M& f) {
    TBothEndsForm form(&f);
    FaultFromBothEnds(f.session(), f.prompts(), form);
}

// "Cable archive...": the browser over the user's archive.
void BrowseArchive(M& f) {
    std::unique_ptr<CableArchive> archive =
        OpenUserArchive(f.prompts(), f.session().options.archivePath);
    if (!archive)
        return;
    TArchiveForm form(*archive, f.session(), f.commands(), f.compare(), f.display(), f.prompts(),
                      &f);
    form.SetReportAction([&](const std::vector<ArchiveTest>& tests) {
        std::vector<ReportWaveform> waveforms;
        if (std::string e = ReadReportTests(*archive, tests, waveforms); !e.empty())
            f.prompts().ShowMessageBox(Utf8ToCp1252("Cannot make the report: " + e),
                                       MessageText(MsgProblem), MbOk);
        else
            ShowReportDialogFor(&form, f.session(), std::move(waveforms), f.prompts());
    });
    form.exec();
}

// "File in archive...": the current waveform, with the user's answers.
void FileInArchive(M& f) {
    std::optional<FileInArchiveQuestion> q = CurrentWaveformForFiling(f.session(), f.prompts());
    if (!q)
        return;
    TArchiveFileForm form(&f);
    std::optional<FileInArchiveQuestion> answers = form.Ask(*q);
    if (!answers)
        return;
    if (std::unique_ptr<CableArchive> archive =
            OpenUserArchive(f.prompts(), f.session().options.archivePath))
        FileAnswered(*archive, *answers, f.prompts());
}

constexpr MenuRow kMenuRows[] = {
    {true, "&File", "File1", "", nullptr},
    {false, "&New", "MenuNew", "", [](M& f) { f.commands().MenuNew(); }},
    {false, "&Save", "MenuSave", "Ctrl+S", [](M& f) { f.commands().MenuSave(); }},
    {false, "Save &as", "MenuSaveAs", "", [](M& f) { f.commands().MenuSaveAs(); }},
    {false, "&Print", "MenuPrint", "", [](M& f) { f.Output().MenuPrintClick(); }},
    {false, "Cable a&rchive...", "MenuArchive", "", BrowseArchive},
    {false, "&File in archive...", "MenuFileInArchive", "", FileInArchive},
    {false, "Repor&t...", "MenuReport", "",
     [](M& f) { ShowReportDialog(&f, f.session(), f.display().state(), f.prompts()); }},
    {false, "-", "", "", nullptr},
    {false, "&Exit", "Exit1", "", [](M& f) { f.close(); }},
    {true, "&Import", "Import1", "", nullptr},
    {false, "&Select comms port", "MenuSelect", "", [](M& f) { f.Instrument().MenuSelectClick(); }},
    {false, "&Import from instrument", "MenuImpInst", "",
     [](M& f) { f.Instrument().MenuImpInstClick(); }},
    {true, "Grap&h", "Graph1", "", nullptr},
    {false, "&Add waveform", "MenuAddWave", "Ctrl+R", [](M& f) { f.commands().Recall(); }},
    {false, "&Close waveform", "MenuCloseWave", "", [](M& f) { f.commands().MenuCloseWave(); }},
    {false, "Close all &waveforms", "MenuCloseAllWave", "", [](M& f) { f.commands().MenuNew(); }},
    {false, "Z&oom", "MenuZoom", "Ctrl+O", [](M& f) { f.display().Zoom(f.prompts()); }},
    {false, "&Select waveform", "MenuSelWave", "Ctrl+M",
     [](M& f) { f.compare().MenuSelWaveClick(); }},
    {false, "Change &X-Axis units", "MenuXAxis", "", [](M& f) { f.compare().MenuXAxisClick(); }},
    {false, "Change &dielectric units", "MenuChangeDiel", "",
     [](M& f) { f.display().ChangeDielUnits(*f.DielecForm(), f.prompts()); }},
    {false, "Cable &type", "MenuCableType", "", ChooseCable},
    {false, "&Find fault", "MenuFindFault", "F3",
     [](M& f) { FindFault(f.session().set, f.display(), f.prompts()); }},
    {false, "Next &event", "MenuNextEvent", "F4",
     [](M& f) { StepEvent(f.session().set, f.display(), f.prompts(), +1); }},
    {false, "&Previous event", "MenuPrevEvent", "Shift+F4",
     [](M& f) { StepEvent(f.session().set, f.display(), f.prompts(), -1); }},
    {false, "Fault from &both ends...", "MenuBothEnds", "", AskFaultFromBothEnds},
    {true, "&Edit", "MenuEdit", "",
     [](M& f) { Edited(f, MenuEdit(f.session().set, f.prompts(), f.CommentDialogs())); }},
    {true, "&Export", "Export1", "", nullptr},
    {false, "To &clipboard", "MenuToClip", "", [](M& f) { f.Output().MenuToClipClick(); }},
    {false, "To &file", "MenuToFile", "", [](M& f) { f.Output().MenuToFileClick(); }},
    {false, "To &instrument", "MenuToInst", "", [](M& f) { f.Instrument().MenuToInstClick(); }},
    {true, "&Toolbar", "Toolbar1", "", nullptr},
    {false, "&Normal toolbar", "MenuNormal", "", &M::MenuNormalClick},
    {false, "&Instrument toolbar", "MenuInst", "", &M::MenuInstClick},
    {true, "&Help", "Help1", "", nullptr},
    {false, "&About", "About1", "", &M::About1Click},
};

constexpr ButtonRow kButtonRows[] = {
    {"ModeN", "ModeI", "MenuSelWave"},
    {"SaveN", "SaveI", "MenuSave"},
    {"RecallN", "RecallI", "MenuAddWave"},
    {"ZoomN", "ZoomI", "MenuZoom"},
    {"RngUpN", "RngUpI", "", [](M& f) { f.display().ChangeRange(1, f.prompts()); }},
    {"RngDnN", "RngDnI", "", [](M& f) { f.display().ChangeRange(0, f.prompts()); }},
    {"EditN", "", "",
     [](M& f) { Edited(f, EditCurTrace(f.session().set, f.prompts(), f.CommentDialogs())); }},
    {"dBRLN", "dBRLI", "", [](M& f) { f.compare().ShowdBRL(); }},
};

constexpr int kInfoPanelWidth = 370;
constexpr int kInfoPanelHeight = 99;

// Panels keep the button-face colour, not the white of the graph behind them.
void KeepButtonFace(QWidget* w) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    w->setPalette(pal);
}

QFrame* MakePanel(QWidget* parent, const char* name, QFrame::Shadow shadow) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(shadow);
    panel->setAutoFillBackground(true);
    KeepButtonFace(panel);
    return panel;
}
} // namespace

std::span<const MenuRow> MainMenuRows() {
    return kMenuRows;
}

std::span<const ButtonRow> ToolButtonRows() {
    return kButtonRows;
}

void FormCommand::operator()(TMainForm& form) const {
    if (member_)
        (form.*member_)();
    else if (function_)
        function_(form);
}

void TMainForm::BuildMenus() {
    menuBar_ = new AccessMenuBar(this);
    setMenuBar(menuBar_);
    QMenu* menu = nullptr;
    for (const MenuRow& row : kMenuRows) {
        QAction* a = nullptr;
        if (row.topLevel && !row.handler) {
            menu = menuBar()->addMenu(row.caption);
            a = menu->menuAction();
        } else if (row.topLevel) {
            a = menuBar()->addAction(row.caption);
            menu = nullptr;
        } else if (row.caption[0] == '-') {
            menu->addSeparator();
            continue;
        } else {
            a = menu->addAction(row.caption);
        }
        a->setObjectName(row.name);
        if (row.shortcut[0])
            a->setShortcut(QKeySequence(row.shortcut));
        if (row.handler)
            connect(a, &QAction::triggered, this, [this, &row] { RunCommand(row.handler); });
    }
    menuNormal_ = Action("MenuNormal");
    menuInst_ = Action("MenuInst");
    menuExit_ = Action("Exit1");
    menuAbout_ = Action("About1");
    menuNormal_->setCheckable(true);
    menuInst_->setCheckable(true);
}

namespace {
QPushButton* MakeButton(QWidget* panel, const ToolButtonDef& def, const ButtonRect& r) {
    auto* b = new QPushButton(def.caption, panel);
    b->setObjectName(def.name);
    b->setGeometry(r.left, r.top, r.width, r.height);
    // Buttons take focus as on a dialog, and Enter activates the focused one.
    b->setFocusPolicy(Qt::StrongFocus);
    b->setAutoDefault(true);
    b->setProperty("tag", def.tag);
    if (def.caption[0] == '\0')
        b->setEnabled(false);
    return b;
}
} // namespace

void TMainForm::BuildToolbars() {
    normToolBar_ = MakePanel(client_, "NormToolBar", QFrame::Raised);
    for (std::size_t i = 0; i < kNormalToolbar.size(); ++i)
        MakeButton(normToolBar_, kNormalToolbar[i], NormalButtonRect(i));

    p335ToolBar_ = MakePanel(client_, "P335ToolBar", QFrame::Raised);
    p335ToolBar_->resize(kP335Width, kP335Height);
    for (std::size_t i = 0; i < kInstrumentToolbar.size(); ++i)
        MakeButton(p335ToolBar_, kInstrumentToolbar[i], InstrumentButtonRect(i));

    for (QPushButton* b : client_->findChildren<QPushButton*>()) {
        int tag = b->property("tag").toInt();
        if (tag == 0)
            continue;
        connect(b, &QPushButton::clicked, this, [this, tag] {
            repeat_->Click(tag);
            RepaintWindow();
        });
        b->installEventFilter(this); // the press and the release drive the repeat
    }
    for (const ButtonRow& row : kButtonRows) {
        for (const char* name : {row.normal, row.instrument}) {
            if (name[0] == '\0')
                continue;
            if (row.sameAs[0] != '\0')
                connect(Button(name), &QPushButton::clicked, Action(row.sameAs), &QAction::trigger);
            else
                connect(Button(name), &QPushButton::clicked, this,
                        [this, &row] { RunCommand(row.click); });
        }
    }
}

void TMainForm::BuildInfoPanel() {
    infoPanel_ = MakePanel(client_, "InfoPanel", QFrame::Sunken);
    infoPanel_->resize(kInfoPanelWidth, kInfoPanelHeight);
    auto label = [this](const char* name, const std::string& text, int x, int y, int w) {
        auto* l = new QLabel(ToQ(text), infoPanel_);
        l->setObjectName(name);
        l->setGeometry(x, y, w, 14);
        return l;
    };
    progName_ = label("ProgName", "", 8, 4, 354);
    progName_->setGeometry(8, 4, 354, 20);
    QFont big = progName_->font();
    big.setPointSize(12);
    big.setBold(true);
    progName_->setFont(big);
    label("CopyStr", kCopyrightText, 8, 26, 354);
    label("Company", kMaker.Company, 8, 42, 190);
    label("Address1", kMaker.Address1, 8, 56, 190);
    label("Address2", kMaker.Address2, 8, 70, 190);
    label("Address3", kMaker.Address3, 8, 84, 190);
    label("Label1", kMaker.ContactLabel, 210, 42, 150);
    label("Contact1", kMaker.Contact1, 210, 56, 150);
}

void TMainForm::KeepFace(QWidget* w) {
    KeepButtonFace(w);
}

} // namespace r470
