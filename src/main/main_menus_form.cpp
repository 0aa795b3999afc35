// The menu bar, both toolbars and the start panel of the main window, built from tables.
#include "main/main_menus_form.h"

#include "display/graph_surface_qt.h"
#include "main/main_form.h"
#include "main/toolbar_layout.h"
#include "shell/text_qt.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace r470 {

namespace {
using M = TMainForm;

constexpr MenuRow kMenuRows[] = {
    {true, "&File", "File1", "", nullptr},
    {false, "&New", "MenuNew", "", &M::MenuNewClick},
    {false, "&Save", "MenuSave", "Ctrl+S", &M::MenuSaveClick},
    {false, "Save &as", "MenuSaveAs", "", &M::MenuSaveAsClick},
    {false, "&Print", "MenuPrint", "", &M::MenuPrintClick},
    {false, "-", "", "", nullptr},
    {false, "&Exit", "Exit1", "", &M::Exit1Click},
    {true, "&Import", "Import1", "", nullptr},
    {false, "&Select comms port", "MenuSelect", "", &M::MenuSelectClick},
    {false, "&Import from instrument", "MenuImpInst", "", &M::MenuImpInstClick},
    {true, "Grap&h", "Graph1", "", nullptr},
    {false, "&Add waveform", "MenuAddWave", "Ctrl+R", &M::MenuAddWaveClick},
    {false, "&Close waveform", "MenuCloseWave", "", &M::MenuCloseWaveClick},
    {false, "Close all &waveforms", "MenuCloseAllWave", "", &M::MenuCloseAllWaveClick},
    {false, "Z&oom", "MenuZoom", "Ctrl+O", &M::MenuZoomClick},
    {false, "&Select waveform", "MenuSelWave", "Ctrl+M", &M::MenuSelWaveClick},
    {false, "Change &X-Axis units", "MenuXAxis", "", &M::MenuXAxisClick},
    {false, "Change &dielectric units", "MenuChangeDiel", "", &M::MenuChangeDielClick},
    {false, "Cable &type", "MenuCableType", "", &M::MenuCableTypeClick},
    {true, "&Edit", "MenuEdit", "", &M::MenuEditClick},
    {true, "&Export", "Export1", "", nullptr},
    {false, "To &clipboard", "MenuToClip", "", &M::MenuToClipClick},
    {false, "To &file", "MenuToFile", "", &M::MenuToFileClick},
    {false, "To &instrument", "MenuToInst", "", &M::MenuToInstClick},
    {true, "&Toolbar", "Toolbar1", "", nullptr},
    {false, "&Normal toolbar", "MenuNormal", "", &M::MenuNormalClick},
    {false, "&Instrument toolbar", "MenuInst", "", &M::MenuInstClick},
    {true, "&Help", "Help1", "", nullptr},
    {false, "&About", "About1", "", &M::About1Click},
};

constexpr ButtonRow kButtonRows[] = {
    {"ModeN", &M::ModeNClick},     {"ModeI", &M::ModeIClick},     {"Left1N", &M::Left1NClick},
    {"Left1I", &M::Left1IClick},   {"Right1N", &M::Right1NClick}, {"Right1I", &M::Right1IClick},
    {"Left2N", &M::Left2NClick},   {"Left2I", &M::Left2IClick},   {"Right2N", &M::Right2NClick},
    {"Right2I", &M::Right2IClick}, {"UpN", &M::UpClick},          {"UpI", &M::UpClick},
    {"DownN", &M::DownClick},      {"DownI", &M::DownClick},      {"AmpUpN", &M::AmpUpClick},
    {"AmpUpI", &M::AmpUpClick},    {"AmpDnN", &M::AmpDnClick},    {"AmpDnI", &M::AmpDnClick},
    {"DielUpN", &M::DielUpClick},  {"DielUpI", &M::DielUpClick},  {"DielDnN", &M::DielDnClick},
    {"DielDnI", &M::DielDnClick},  {"SaveN", &M::SaveNClick},     {"SaveI", &M::SaveIClick},
    {"RecallN", &M::RecallNClick}, {"RecallI", &M::RecallIClick}, {"RngUpN", &M::RngUpNClick},
    {"RngUpI", &M::RngUpIClick},   {"RngDnN", &M::RngDnNClick},   {"RngDnI", &M::RngDnIClick},
    {"ZoomN", &M::ZoomNClick},     {"ZoomI", &M::ZoomIClick},     {"EditN", &M::EditNClick},
    {"dBRLN", &M::dBRLNClick},     {"dBRLI", &M::dBRLIClick},
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

void TMainForm::BuildMenus() {
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
            connect(a, &QAction::triggered, this, row.handler);
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

    for (const ButtonRow& row : kButtonRows) {
        QPushButton* b = Button(row.name);
        connect(b, &QPushButton::clicked, this, row.click);
        if (b->property("tag").toInt() != 0)
            b->installEventFilter(this); // the press and the release drive the repeat
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
