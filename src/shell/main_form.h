// The main window: wires menus, toolbars and window events to the core session.
#pragma once

#include "display/display.h"
#include "shell/session.h"
#include "waveform/set_commands.h"

#include <QMainWindow>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QPushButton;

namespace r470 {

class FilesPanel;
class GraphSurface;
class QtCommentDialogs;
class TClWaveForm;
class TFilesForm;
class Prompts;
class TAboutForm;

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
    GraphSurface* Surface() const { return client_; }
    FilesPanel* Files() const { return files_; }
    QFrame* NormToolBar() const { return normToolBar_; }
    QFrame* P335ToolBar() const { return p335ToolBar_; }
    QFrame* InfoPanel() const { return infoPanel_; }
    QAction* MenuNormal() const { return menuNormal_; }
    QAction* MenuInst() const { return menuInst_; }
    QAction* MenuExit() const { return menuExit_; }
    QAction* MenuAbout() const { return menuAbout_; }

    void FormShow();
    bool FormCloseQuery();
    void MenuNormalClick();
    void MenuInstClick();
    void Exit1Click();
    void About1Click();
    void AlignP335();
    void MenuZoomClick();
    void MenuNewClick();
    void MenuSaveClick();
    void MenuSaveAsClick();
    void MenuAddWaveClick();
    void MenuCloseWaveClick();
    void MenuCloseAllWaveClick();
    void MenuEditClick();
    void EditNClick();
    void FilesClick();
    void TrSelClick(int slot);
    TFilesForm* FilesForm() const { return filesForm_; }
    TClWaveForm* ClWaveForm() const { return clWaveForm_; }
    QtCommentDialogs& CommentDialogs() { return *commentDialogs_; }
    QAction* Action(const char* objectName) const;

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
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void BuildMenus();
    void BuildToolbars();
    void WireToolButton(const char* name, void (TMainForm::*handler)());
    void AfterEdit(int slot);
    void BuildInfoPanel();
    void ShowToolbar(bool normal);
    void LayoutClient();
    DrawSurface ScreenSurface() const;
    // Runs a display operation and shows its result.
    template <class F> void Painted(F&& f) {
        f();
        RepaintWindow();
    }

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
    TFilesForm* filesForm_ = nullptr;
    TClWaveForm* clWaveForm_ = nullptr;
    std::unique_ptr<QtCommentDialogs> commentDialogs_;
    QFrame* normToolBar_ = nullptr;
    QFrame* p335ToolBar_ = nullptr;
    QFrame* infoPanel_ = nullptr;
    QLabel* progName_ = nullptr;
    QAction* menuNormal_ = nullptr;
    QAction* menuInst_ = nullptr;
    QAction* menuExit_ = nullptr;
    QAction* menuAbout_ = nullptr;
};

} // namespace r470
