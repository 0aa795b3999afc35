// "File > Cable archive...": the archive browser. A tree of sites, their cables and each
// cable's tests, a search by text and dates, and the buttons; every rule is in
// archive_commands.h.
#pragma once

#include "archive/archive_commands.h"
#include "archive/cable_archive.h"

#include <QDialog>
#include <functional>
#include <memory>

class QTreeWidget;

namespace Ui {
class TArchiveForm;
}

namespace r470 {

class CompareCommands;
class Display;
class Prompts;
class SetCommands;
struct Workspace;

class TArchiveForm : public QDialog {
    Q_OBJECT
  public:
    TArchiveForm(CableArchive& archive, Workspace& session, SetCommands& commands,
                 CompareCommands& compare, Display& display, Prompts& prompts,
                 QWidget* parent = nullptr);
    ~TArchiveForm() override;
    Ui::TArchiveForm& ui() { return *ui_; }

    // Lists the tests the search finds.
    void Refresh();
    // The chosen test row's number, 0 when none is chosen.
    std::int64_t ChosenTest() const;
    QTreeWidget* Tree() const;
    void ChooseTest(std::int64_t test);
    // The tests of the chosen rows as listed; a cable's or a site's row stands for all of its.
    std::vector<std::int64_t> SelectedTests() const;

    // What "Report..." does with the selected tests; without it the button is hidden.
    using ReportAction = std::function<void(const std::vector<ArchiveTest>&)>;
    void SetReportAction(ReportAction action);

    void OpenClick();
    void CompareClick();
    void BaselineClick();
    void RemoveClick();
    void ReportClick();

  private:
    void ChoiceChanged();

    CableArchive& archive_;
    Workspace& session_;
    SetCommands& commands_;
    CompareCommands& compare_;
    Display& display_;
    Prompts& prompts_;
    std::unique_ptr<Ui::TArchiveForm> ui_;
    std::vector<BrowserRow> rows_; // as the tree shows them
    ReportAction reportAction_;
};

} // namespace r470
