#include "main/main_form.h"

#include "archive/archive_commands.h"
#include "archive/archive_file_form.h"
#include "archive/archive_platform.h"
#include "archive/import_filing.h"
#include "display/compare.h"
#include "display/compare_form.h"
#include "display/dielec_form.h"
#include "display/files_panel_qt.h"
#include "display/graph_surface_qt.h"
#include "display/repeat_timer_qt.h"
#include "instrument/clock.h"
#include "instrument/config_form.h"
#include "instrument/data_tran_form.h"
#include "instrument/exp_inst_form.h"
#include "instrument/instrument_commands.h"
#include "instrument/port_probe.h"
#include "instrument/sel_mem_form.h"
#include "instrument/transfer_window_qt.h"
#include "main/about_form.h"
#include "main/access_menu_bar_qt.h"
#include "main/main_menus_form.h"
#include "main/toolbar_layout.h"
#include "output/output_menu_qt.h"
#include "shell/messages.h"
#include "shell/prompts_qt.h"
#include "shell/text_qt.h"
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
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace r470 {

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
    KeepFace(files_);
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
    files_->onTraceButton = [this](int slot) {
        display_->SelectTrace(slot, *prompts_);
        RepaintWindow();
    };
    files_->onBareClick = [this] {
        RunCommand([](TMainForm& f) {
            if (int slot = EditFromFilesPanel(f.session().set, f.prompts(), f.CommentDialogs()))
                f.display().SelectTrace(slot, f.prompts());
        });
    };
    // The dialogs live as long as the window and are reused.
    filesForm_ = new TFilesForm(this);
    clWaveForm_ = new TClWaveForm(this);
    commentDialogs_ = std::make_unique<QtCommentDialogs>(this);
    dielecForm_ = new TDielecForm(this);
    commands_->SetChoosers(filesForm_, clWaveForm_);
    compare_ = std::make_unique<CompareCommands>(session_, *display_, *commands_, *prompts_);
    compareDialogs_ = std::make_unique<QtCompareDialogs>(this);
    compare_->SetDialogs(compareDialogs_.get());
    commands_->SetLoadCheck(compare_.get());
    BuildInstrumentWindows();
    rptTimer_ = std::make_unique<QtRepeatTimer>([this] {
        repeat_->RptTimerTimer();
        RepaintWindow();
    });
    repeat_ = std::make_unique<StepRepeat>(session_, *display_, *prompts_, *rptTimer_);
    output_ =
        std::make_unique<OutputMenu>(this, session_, *display_, *prompts_, *files_, *filesForm_);
    BuildMenus();
    BuildToolbars();
    BuildInfoPanel();
}

TMainForm::~TMainForm() = default;

void TMainForm::BuildInstrumentWindows() {
    port_ = std::make_unique<SystemPort>(PortMap::FromIni(session_.paths.iniFile));
    selMemForm_ = new TSelMemForm(this);
    expInstForm_ = new TExpInstForm(session_.set, *prompts_, this);
    // Each showing and each refresh reads [Ports] again: a line added since start-up counts.
    // The probe runs on its own thread with a port object of its own.
    configForm_ = new TConfigForm(
        [ini = session_.paths.iniFile] {
            SystemPort probed(PortMap::FromIni(ini));
            return ProbePorts(probed);
        },
        port_->Map(), *prompts_, this);
    configForm_->BeforeProbe = [this] { port_->SetMap(PortMap::FromIni(session_.paths.iniFile)); };
    configForm_->CurrentArchive = [this] { return session_.options.archivePath; };
    configForm_->AcceptArchive = [this](const std::string& typed) {
        return ChooseArchiveFile(typed, session_.options, UserOptionsPath(session_.paths),
                                 *prompts_);
    };
    configForm_->DefaultArchive = DefaultArchivePath();
    clock_ = std::make_unique<SteadyClock>();
    dataTranForm_ = new TDataTranForm(*port_, *clock_, *prompts_, this);
    ownTransfer_ = std::make_unique<QtTransferWindow>(*dataTranForm_);
    importFilingForm_ = new TArchiveFileForm(this);
    importFiler_ = std::make_unique<ArchiveImportFiler>(
        *prompts_, *importFilingForm_, [this] { return session_.options.archivePath; });
    SetTransferWindow(ownTransfer_.get());
    expInstForm_->onSend = [this](const WaveformSet& set, const ExportMemories& memory) {
        instrument_->Send(set, memory);
    };
}

void TMainForm::SetTransferWindow(TransferWindow* transfer) {
    transfer_ = transfer;
    InstrumentWindows w;
    w.transfer = transfer_;
    w.memories = selMemForm_;
    w.comments = commentDialogs_.get();
    w.exportForm = expInstForm_;
    w.ports = configForm_;
    w.askName = [this](const std::string& proposed) { return commands_->GetFileName(proposed); };
    w.filer = importFiler_.get();
    instrument_ = std::make_unique<InstrumentCommands>(session_, *prompts_, std::move(w));
}

void TMainForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!shownOnce_) {
        shownOnce_ = true;
        // Keys reach the window before the focused control: they arrive at the window's
        // native handle first.
        if (QWindow* w = windowHandle())
            w->installEventFilter(this);
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
    display_->Redraw();
    RepaintWindow();
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
    s.pixelRatio = client_->PixelRatio();
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
    display_->Redraw();
    RepaintWindow();
}

void TMainForm::MenuInstClick() {
    session_.settings.ToolBarKind = 2;
    ShowToolbar(false);
    display_->Redraw();
    RepaintWindow();
}

void TMainForm::OpenFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (commands_->LoadFile(path) == LoadNotWaveform && session_.set.TraceCount >= kFileSlots)
            break; // all slots taken: said once, not once per file left
    RepaintWindow();
}

void TMainForm::RunCommand(const FormCommand& command) {
    command(*this);
    RepaintWindow();
}

QAction* TMainForm::Action(const char* objectName) const {
    return findChild<QAction*>(objectName);
}

QPushButton* TMainForm::Button(const char* objectName) const {
    return client_->findChild<QPushButton*>(objectName);
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
