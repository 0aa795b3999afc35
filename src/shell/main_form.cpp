#include "shell/main_form.h"

#include "display/files_panel_qt.h"
#include "display/graph_surface_qt.h"
#include "shell/about_form.h"
#include "shell/prompts_qt.h"
#include "shell/text_qt.h"
#include "shell/toolbar_layout.h"
#include "waveform/add_comm_form.h"
#include "waveform/ch_wave_form.h"
#include "waveform/cl_wave_form.h"
#include "waveform/comm_opt_form.h"
#include "waveform/comments.h"
#include "waveform/edit_comm_form.h"
#include "waveform/files_form.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace r470 {

namespace {
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

TMainForm::TMainForm(AppPaths paths, Prompts* prompts) {
    session_.paths = std::move(paths);
    if (!prompts) {
        ownPrompts_ = std::make_unique<QtPrompts>(this);
        prompts = ownPrompts_.get();
    }
    prompts_ = prompts;

    InstallFontSubstitutes();
    setObjectName("MainForm");
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    setFont(font);
    setGeometry(kMainDesignRect.left, kMainDesignRect.top, kMainDesignRect.width,
                kMainDesignRect.height); // the client area's, like every placement

    client_ = new GraphSurface(this);
    setCentralWidget(client_);
    files_ = new FilesPanel(client_);
    KeepButtonFace(files_);
    display_ = std::make_unique<Display>(session_, client_->canvas(), *this);
    commands_ = std::make_unique<SetCommands>(session_, *display_, *this, *prompts_);
    client_->onResize = [this] {
        LayoutClient();
        display_->SetSurface(ScreenSurface());
        display_->Redraw();
    };
    client_->onMouseDown = [this](int x, int y) { display_->MouseDown(x, y); };
    client_->onMouseMove = [this](int x, int) { display_->MouseMove(x); };
    client_->onMouseUp = [this] { display_->MouseUp(); };
    files_->onTraceButton = [this](int slot) { TrSelClick(slot); };
    files_->onBareClick = [this] { FilesClick(); };
    // The dialogs live as long as the window and are reused.
    filesForm_ = new TFilesForm(this);
    clWaveForm_ = new TClWaveForm(this);
    commentDialogs_ = std::make_unique<QtCommentDialogs>(this);
    commands_->SetChoosers(filesForm_, clWaveForm_);
    BuildMenus();
    BuildToolbars();
    BuildInfoPanel();
    for (const char* name : {"SaveN", "SaveI"})
        WireToolButton(name, &TMainForm::MenuSaveClick);
    for (const char* name : {"RecallN", "RecallI"})
        WireToolButton(name, &TMainForm::MenuAddWaveClick);
    for (const char* name : {"ZoomN", "ZoomI"})
        WireToolButton(name, &TMainForm::MenuZoomClick);
    WireToolButton("EditN", &TMainForm::EditNClick);
}

TMainForm::~TMainForm() = default;

void TMainForm::BuildMenus() {
    auto add = [this](QMenu* menu, const char* caption, const char* name, auto handler,
                      const char* keys = nullptr) {
        QAction* a = menu->addAction(caption, this, handler);
        a->setObjectName(name);
        if (keys)
            a->setShortcut(QKeySequence(keys));
        return a;
    };
    QMenu* file = menuBar()->addMenu("&File");
    add(file, "&New", "MenuNew", &TMainForm::MenuNewClick);
    add(file, "&Save", "MenuSave", &TMainForm::MenuSaveClick, "Ctrl+S");
    add(file, "Save &as", "MenuSaveAs", &TMainForm::MenuSaveAsClick);
    file->addSeparator();
    menuExit_ = add(file, "&Exit", "Exit1", &TMainForm::Exit1Click);

    QMenu* graph = menuBar()->addMenu("Grap&h");
    add(graph, "&Add waveform", "MenuAddWave", &TMainForm::MenuAddWaveClick, "Ctrl+R");
    add(graph, "&Close waveform", "MenuCloseWave", &TMainForm::MenuCloseWaveClick);
    add(graph, "Close all &waveforms", "MenuCloseAllWave", &TMainForm::MenuCloseAllWaveClick);
    add(graph, "Z&oom", "MenuZoom", &TMainForm::MenuZoomClick, "Ctrl+O");

    QAction* edit = menuBar()->addAction("&Edit", this, &TMainForm::MenuEditClick);
    edit->setObjectName("MenuEdit");

    QMenu* toolbar = menuBar()->addMenu("&Toolbar");
    menuNormal_ = toolbar->addAction("&Normal toolbar", this, &TMainForm::MenuNormalClick);
    menuNormal_->setObjectName("MenuNormal");
    menuInst_ = toolbar->addAction("&Instrument toolbar", this, &TMainForm::MenuInstClick);
    menuInst_->setObjectName("MenuInst");
    menuNormal_->setCheckable(true);
    menuInst_->setCheckable(true);

    QMenu* help = menuBar()->addMenu("&Help");
    menuAbout_ = help->addAction("&About", this, &TMainForm::About1Click);
    menuAbout_->setObjectName("About1");
}

void TMainForm::BuildToolbars() {
    normToolBar_ = MakePanel(client_, "NormToolBar", QFrame::Raised);
    for (std::size_t i = 0; i < kNormalToolbar.size(); ++i) {
        auto r = NormalButtonRect(i);
        auto* b = new QPushButton(kNormalToolbar[i].caption, normToolBar_);
        b->setObjectName(kNormalToolbar[i].name);
        b->setGeometry(r.left, r.top, r.width, r.height);
        b->setFocusPolicy(Qt::NoFocus);
    }

    p335ToolBar_ = MakePanel(client_, "P335ToolBar", QFrame::Raised);
    p335ToolBar_->resize(kP335Width, kP335Height);
    for (std::size_t i = 0; i < kInstrumentToolbar.size(); ++i) {
        auto r = InstrumentButtonRect(i);
        auto* b = new QPushButton(kInstrumentToolbar[i].caption, p335ToolBar_);
        b->setObjectName(kInstrumentToolbar[i].name);
        b->setGeometry(r.left, r.top, r.width, r.height);
        b->setFocusPolicy(Qt::NoFocus);
        if (kInstrumentToolbar[i].caption[0] == '\0')
            b->setEnabled(false);
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

void TMainForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TMainForm::FormShow() {
    QPalette pal = client_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    client_->setPalette(pal);
    client_->setAutoFillBackground(true);
    QApplication::setApplicationName(kAppName);
    setWindowTitle(ToQ(kMainCaption));

    QSize screenSize = screen() ? screen()->geometry().size() : QSize(1024, 768);
    // Placement is the client area's, both here and at close: mixing it with the frame's
    // moved the window by the frame at every start.
    Placement current{{geometry().x(), geometry().y(), width(), height()}, isMaximized()};
    Placement p = StartSession(session_, current, {screenSize.width(), screenSize.height()});
    progName_->setText(ToQ(kProgName));
    setGeometry(p.normal.left, p.normal.top, p.normal.width, p.normal.height);
    if (p.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);

    ShowToolbar(UsesNormalToolbar(session_.settings));
    infoPanel_->setVisible(session_.set.TraceCount == 0);
    display_->SetSurface(ScreenSurface());
    if (session_.messageFileFound) {
        display_->SetDrawParam();
        display_->ClearTextArea();
    }
    Painted([this] { display_->Redraw(); });
}

void TMainForm::ShowToolbar(bool normal) {
    normToolBar_->setVisible(normal);
    p335ToolBar_->setVisible(!normal);
    menuNormal_->setChecked(normal);
    menuInst_->setChecked(!normal);
    LayoutClient();
}

DrawSurface TMainForm::ScreenSurface() const {
    DrawSurface s;
    s.clientWidth = client_->width();
    s.clientHeight = client_->height();
    s.filesPanelHeight = FilesPanel::kHeight;
    s.normToolbarHeight = kNormToolBarHeight;
    s.windowWidth = width();
    return s;
}

void TMainForm::LayoutClient() {
    bool normal = UsesNormalToolbar(session_.settings);
    normToolBar_->setGeometry(0, 0, client_->width(), kNormToolBarHeight);
    files_->setGeometry(0, client_->height() - FilesPanel::kHeight, client_->width(),
                        FilesPanel::kHeight);
    files_->LayoutButtons();
    infoPanel_->move(0, normal ? kNormToolBarHeight : 0);
    AlignP335();
}

void TMainForm::AlignP335() {
    p335ToolBar_->move(P335Left(client_->width()), 0);
}

void TMainForm::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    LayoutClient();
}

void TMainForm::MenuNormalClick() {
    session_.settings.ToolBarKind = 1;
    ShowToolbar(true);
    Painted([this] { display_->Redraw(); });
}

void TMainForm::MenuInstClick() {
    session_.settings.ToolBarKind = 2;
    ShowToolbar(false);
    Painted([this] { display_->Redraw(); });
}

void TMainForm::WireToolButton(const char* name, void (TMainForm::*handler)()) {
    auto* b = client_->findChild<QPushButton*>(name);
    if (b)
        connect(b, &QPushButton::clicked, this, handler);
}

QAction* TMainForm::Action(const char* objectName) const {
    return findChild<QAction*>(objectName);
}

void TMainForm::MenuNewClick() {
    Painted([this] { commands_->MenuNew(); });
}

void TMainForm::MenuCloseAllWaveClick() {
    MenuNewClick();
}

void TMainForm::MenuSaveClick() {
    commands_->MenuSave();
}

void TMainForm::MenuSaveAsClick() {
    Painted([this] { commands_->MenuSaveAs(); });
}

void TMainForm::MenuAddWaveClick() {
    Painted([this] { commands_->Recall(); });
}

void TMainForm::MenuCloseWaveClick() {
    Painted([this] { commands_->MenuCloseWave(); });
}

void TMainForm::AfterEdit(int slot) {
    if (slot)
        Painted([this, slot] { display_->SelectTrace(slot, *prompts_); });
}

void TMainForm::MenuEditClick() {
    AfterEdit(MenuEdit(session_.set, *prompts_, *commentDialogs_));
}

void TMainForm::EditNClick() {
    AfterEdit(EditCurTrace(session_.set, *prompts_, *commentDialogs_));
}

void TMainForm::FilesClick() {
    AfterEdit(EditFromFilesPanel(session_.set, *prompts_, *commentDialogs_));
}

void TMainForm::TrSelClick(int slot) {
    Painted([this, slot] { display_->SelectTrace(slot, *prompts_); });
}

void TMainForm::MenuZoomClick() {
    Painted([this] { display_->Zoom(*prompts_); });
}

void TMainForm::RepaintWindow() {
    client_->update();
    files_->update();
}

void TMainForm::LayoutControls() {
    AlignP335();
    files_->LayoutButtons();
}

void TMainForm::SetLabel(const std::string& name, const std::string& text, Colour colour) {
    files_->SetLabel(name, text, colour);
}

void TMainForm::SetLabelVisible(const std::string& name, bool visible) {
    files_->SetLabelVisible(name, visible);
}

void TMainForm::ClearLabels() {
    files_->ClearLabels();
}

void TMainForm::SetTraceButton(int slot, const std::string& caption, Colour strip) {
    files_->SetTraceButton(slot, caption, strip);
}

void TMainForm::ClearTraceButton(int slot) {
    files_->ClearTraceButton(slot);
}

void TMainForm::ShowStartPanel(bool visible) {
    infoPanel_->setVisible(visible);
}

bool TMainForm::FormCloseQuery() {
    QRect client = isMaximized() ? normalGeometry() : geometry();
    Placement now{{client.x(), client.y(), client.width(), client.height()}, isMaximized()};
    return CloseSession(session_, now, *prompts_);
}

void TMainForm::closeEvent(QCloseEvent* e) {
    if (FormCloseQuery())
        e->accept();
    else
        e->ignore();
}

void TMainForm::Exit1Click() {
    close();
}

TAboutForm* TMainForm::AboutForm() {
    if (!about_) {
        ownAbout_ = std::make_unique<TAboutForm>(this);
        about_ = ownAbout_.get();
    }
    return about_;
}

void TMainForm::About1Click() {
    AboutForm()->FillLabels();
    AboutForm()->exec();
}

} // namespace r470
