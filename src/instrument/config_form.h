// The comms port window: the ports that open now, the device behind the selected number,
// and under the list every serial device with its adapter, its by-id name and, for one
// that cannot be used, why (who holds it), all from one probe.
#pragma once

#include "instrument/instrument_commands.h"
#include "instrument/port_setup.h"

#include <QDialog>
#include <functional>
#include <future>
#include <memory>
#include <thread>

namespace Ui {
class TConfigForm;
}

namespace r470 {

class Prompts;

class TConfigForm : public QDialog, public PortChooser {
    Q_OBJECT
  public:
    // Runs away from the window's thread: a port can hold its open for seconds.
    using Probe = std::function<std::vector<PortProbe>()>;
    TConfigForm(Probe probe, PortMap map, Prompts& prompts, QWidget* parent = nullptr);
    ~TConfigForm() override;
    Ui::TConfigForm& ui() { return *ui_; }

    int CommPort = 2; // set before showing; the list preselects it
    void FormShow();
    void UpdateClick();
    void HelpClick();
    // The number of the selected item, 0 when the list is empty.
    int SelectedPort() const;
    // True while a probe runs (the window shows a busy cursor and takes no choice).
    bool Probing() const { return probing_.valid(); }
    // Called on the window's thread before each probe starts.
    std::function<void()> BeforeProbe;

    // The cable archive's file, shown under the ports when these are set: the current
    // choice (empty for the default place, named by `DefaultArchive`), and on "&Ok" the
    // typed one, which answers false to keep the window open when it was refused.
    std::function<std::string()> CurrentArchive;
    std::function<bool(const std::string&)> AcceptArchive;
    std::string DefaultArchive;
    void OkClick();
    void BrowseClick();

    // Shows the form; the chosen number on OK with a non-empty list, else nothing.
    std::optional<int> Choose(int commPort);
    std::optional<int> ChoosePort(int commPort) override { return Choose(commPort); }

  private:
    void FillPortBox();
    void ProbeDone();
    void ShowDevice();
    std::unique_ptr<Ui::TConfigForm> ui_;
    Probe probe_;
    PortMap map_;
    std::vector<PortProbe> probes_; // the last probe's, for the device of a listed number
    Prompts& prompts_;
    std::future<std::vector<PortProbe>> probing_;
    std::thread worker_;
};

} // namespace r470
