// The windows of the display mode, the load compatibility questions, the X-axis units and
// the return-loss result, and the CompareDialogs they make up for the core.
#pragma once

#include "display/compare.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TSelWaveForm;
class TMismatchForm;
class TDielDifForm;
class TDielDif2Form;
class TXAxisForm;
class TdBRLForm;
} // namespace Ui

namespace r470 {

class TSelWaveForm : public QDialog {
  public:
    explicit TSelWaveForm(QWidget* parent = nullptr);
    ~TSelWaveForm() override;
    Ui::TSelWaveForm& ui() { return *ui_; }
    void Fill(const DisplayModeFields& fields);
    DisplayChoice Boxes() const;
    // "&Ok" asks the session; the window closes only when it accepts.
    std::optional<DisplayChoice> Run(DisplayModeSession& session);

  private:
    std::unique_ptr<Ui::TSelWaveForm> ui_;
    DisplayModeSession* session_ = nullptr;
};

class TMismatchForm : public QDialog {
  public:
    explicit TMismatchForm(QWidget* parent = nullptr);
    ~TMismatchForm() override;
    Ui::TMismatchForm& ui() { return *ui_; }
    MismatchAnswer Run(const std::string& message, const std::function<bool()>& clearClick);
    void ClearClick();

  private:
    std::unique_ptr<Ui::TMismatchForm> ui_;
    std::function<bool()> clearClick_;
    MismatchAnswer answer_ = MismatchAnswer::Cancel;
};

class TDielDifForm : public QDialog {
  public:
    explicit TDielDifForm(QWidget* parent = nullptr);
    ~TDielDifForm() override;
    Ui::TDielDifForm& ui() { return *ui_; }
    DielDifAnswer Run();

  private:
    std::unique_ptr<Ui::TDielDifForm> ui_;
    DielDifAnswer answer_ = DielDifAnswer::Cancel;
};

class TDielDif2Form : public QDialog {
  public:
    explicit TDielDif2Form(QWidget* parent = nullptr);
    ~TDielDif2Form() override;
    Ui::TDielDif2Form& ui() { return *ui_; }
    bool Run(); // true: make all dielectric values the same

  private:
    std::unique_ptr<Ui::TDielDif2Form> ui_;
};

class TXAxisForm : public QDialog {
  public:
    explicit TXAxisForm(QWidget* parent = nullptr);
    ~TXAxisForm() override;
    Ui::TXAxisForm& ui() { return *ui_; }
    std::optional<int> Run(int units);

  private:
    std::unique_ptr<Ui::TXAxisForm> ui_;
};

class TdBRLForm : public QDialog {
  public:
    explicit TdBRLForm(QWidget* parent = nullptr);
    ~TdBRLForm() override;
    Ui::TdBRLForm& ui() { return *ui_; }
    void Fill(const std::string& ratio, const std::string& dB);
    void Run(const std::string& ratio, const std::string& dB);

  private:
    std::unique_ptr<Ui::TdBRLForm> ui_;
};

// The windows, created once with their parent and reused.
class QtCompareDialogs : public CompareDialogs {
  public:
    explicit QtCompareDialogs(QWidget* parent);
    std::optional<DisplayChoice> SelectWaveforms(DisplayModeSession& session) override;
    MismatchAnswer ChooseMismatch(const std::string& message,
                                  const std::function<bool()>& clearClick) override;
    DielDifAnswer ChooseDielDif() override;
    std::optional<int> ChooseXAxis(int units) override;
    bool ChooseDielDif2() override;
    void ShowdBRL(const std::string& ratio, const std::string& dB) override;

    TSelWaveForm* SelWaveForm() const { return selWave_; }
    TMismatchForm* MismatchForm() const { return mismatch_; }
    TDielDifForm* DielDifForm() const { return dielDif_; }
    TDielDif2Form* DielDif2Form() const { return dielDif2_; }
    TXAxisForm* XAxisForm() const { return xAxis_; }
    TdBRLForm* dBRLForm() const { return dBRL_; }

  private:
    TSelWaveForm* selWave_;
    TMismatchForm* mismatch_;
    TDielDifForm* dielDif_;
    TDielDif2Form* dielDif2_;
    TXAxisForm* xAxis_;
    TdBRLForm* dBRL_;
};

} // namespace r470
