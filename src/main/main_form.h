// The main window: wires menus, toolbars and window events to the core session.
#pragma once

#include "display/display.h"
#include "display/set_commands.h"
#include "display/step_repeat.h"
#include "instrument/system_port.h"
#include "main/session.h"
#include "shell/form_helpers_qt.h"

#include <QMainWindow>
#include <memory>
#include <vector>

class QAction;
class QKeyEvent;
class QFrame;
class QLabel;
class QPushButton;

namespace r470 {

class AccessMenuBar;
class FilesPanel;
class FormCommand;
class OutputMenu;
class GraphSurface;
class QtCommentDialogs;
class QtCompareDialogs;
class CompareCommands;
class TClWaveForm;
class TDielecForm;
class QtRepeatTimer;
class TFilesForm;
class Prompts;
class TAboutForm;
class TSelMemForm;
class TExpInstForm;
class TConfigForm;
class InstrumentCommands;
class TransferWindow;
class TDataTranForm;
class SteadyClock;
class TArchiveFileForm;
class ArchiveImportFiler;

class TMainForm : public QMainWindow, public DisplayHost {
    Q_OBJECT
  public:
    // Without `prompts` the window shows real message boxes.
    explicit TMainForm(AppPaths paths, Prompts* prompts = nullptr);
    ~TMainForm() override;

    // The About box is created after the main window; without one the window makes its own.
    void SetAboutForm(TAboutForm* about) { about_ = about; }
    TAboutForm* AboutForm();

    Session& session() { return session_; }
    Display& display() { return *display_; }
    SetCommands& commands() { return *commands_; }
    CompareCommands& compare() { return *compare_; }
    QtCompareDialogs& CompareWindows() { return *compareDialogs_; }
    GraphSurface* Surface() const { return client_; }
    FilesPanel* Files() const { return files_; }
    QFrame* NormToolBar() const { return normToolBar_; }
    QFrame* P335ToolBar() const { return p335ToolBar_; }
    QFrame* InfoPanel() const { return infoPanel_; }
    QAction* MenuNormal() const { return menuNormal_; }
    QAction* MenuInst() const { return menuInst_; }
    QAction* MenuExit() const { return menuExit_; }
    QAction* MenuAbout() const { return menuAbout_; }

    Prompts& prompts() { return *prompts_; }
    StepRepeat& Repeat() { return *repeat_; }
    OutputMenu& Output() { return *output_; }

    void FormShow();
    bool FormCloseQuery();
    // Files named at start-up ("Open with"): each into the next free slot, as "Add waveform".
    void OpenFiles(const std::vector<std::string>& paths);
    void AlignP335();

    // The window's own jobs among the menu commands; the rest live in the menu table.
    void MenuNormalClick();
    void MenuInstClick();
    void About1Click();

    // Dialog controls by name ("Disp" + "3"): check boxes and texts of up to 255 characters.
    // The dialogs below the main window reach them through shell/form_helpers_qt.h.
    static void SetCheck(QWidget* form, const QString& name, bool checked) {
        r470::SetCheck(form, name, checked);
    }
    static bool GetCheck(QWidget* form, const QString& name) { return r470::GetCheck(form, name); }
    static void SetEdit(QWidget* form, const QString& name, const std::string& text) {
        r470::SetEdit(form, name, text);
    }
    static std::string GetEdit(QWidget* form, const QString& name) {
        return r470::GetEdit(form, name);
    }

    TFilesForm* FilesForm() const { return filesForm_; }
    TClWaveForm* ClWaveForm() const { return clWaveForm_; }
    TDielecForm* DielecForm() const { return dielecForm_; }
    QtCommentDialogs& CommentDialogs() { return *commentDialogs_; }
    TSelMemForm* SelMemForm() const { return selMemForm_; }
    TExpInstForm* ExpInstForm() const { return expInstForm_; }
    TConfigForm* ConfigForm() const { return configForm_; }
    // The import's filing window, when it files in the cable archive.
    TArchiveFileForm* ImportFilingForm() const { return importFilingForm_; }
    TDataTranForm* DataTranForm() const { return dataTranForm_; }
    InstrumentCommands& Instrument() { return *instrument_; }
    // The data transfer window the import and export run through.
    void SetTransferWindow(TransferWindow* transfer);
    QAction* Action(const char* objectName) const;
    QPushButton* Button(const char* objectName) const;

    // DisplayHost
    void RepaintWindow() override;
    void LayoutControls() override;
    void SetLabel(const std::string& name, const std::string& text, Colour colour) override;
    void SetLabelVisible(const std::string& name, bool visible) override;
    void ClearLabels() override;
    void SetTraceButton(int slot, const std::string& caption, Colour strip) override;
    void ClearTraceButton(int slot) override;
    void ShowStartPanel(bool visible) override;

  protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void BuildMenus();
    void BuildToolbars();
    // A menu item's or button's command, and the window repainted after it.
    void RunCommand(const FormCommand& command);
    void BuildInfoPanel();
    void BuildInstrumentWindows();
    static void KeepFace(QWidget* w);
    void ShowToolbar(bool normal);
    void LayoutClient();
    DrawSurface ScreenSurface() const;

    Session session_;
    std::unique_ptr<Prompts> ownPrompts_;
    Prompts* prompts_;
    std::unique_ptr<TAboutForm> ownAbout_;
    TAboutForm* about_ = nullptr;
    bool shownOnce_ = false;

    GraphSurface* client_ = nullptr;
    FilesPanel* files_ = nullptr;
    std::unique_ptr<Display> display_;
    std::unique_ptr<SetCommands> commands_;
    std::unique_ptr<CompareCommands> compare_;
    std::unique_ptr<QtCompareDialogs> compareDialogs_;
    TFilesForm* filesForm_ = nullptr;
    TClWaveForm* clWaveForm_ = nullptr;
    TDielecForm* dielecForm_ = nullptr;
    std::unique_ptr<QtRepeatTimer> rptTimer_;
    std::unique_ptr<StepRepeat> repeat_;
    std::unique_ptr<OutputMenu> output_;
    std::unique_ptr<QtCommentDialogs> commentDialogs_;
    std::unique_ptr<SystemPort> port_;
    TSelMemForm* selMemForm_ = nullptr;
    TExpInstForm* expInstForm_ = nullptr;
    TConfigForm* configForm_ = nullptr;
    TransferWindow* transfer_ = nullptr;
    std::unique_ptr<SteadyClock> clock_;
    TDataTranForm* dataTranForm_ = nullptr;
    std::unique_ptr<TransferWindow> ownTransfer_;
    TArchiveFileForm* importFilingForm_ = nullptr;
    std::unique_ptr<ArchiveImportFiler> importFiler_;
    std::unique_ptr<InstrumentCommands> instrument_;
    QFrame* normToolBar_ = nullptr;
    QFrame* p335ToolBar_ = nullptr;
    QFrame* infoPanel_ = nullptr;
    QLabel* progName_ = nullptr;
    AccessMenuBar* menuBar_ = nullptr;
    QAction* menuNormal_ = nullptr;
    QAction* menuInst_ = nullptr;
    QAction* menuExit_ = nullptr;
    QAction* menuAbout_ = nullptr;
};

} // namespace r470
