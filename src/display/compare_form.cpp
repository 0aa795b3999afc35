#include "display/compare_form.h"

#include "shell/form_helpers_qt.h"
#include "shell/text_qt.h"
#include "ui_dbrl_form.h"
#include "ui_diel_dif2_form.h"
#include "ui_diel_dif_form.h"
#include "ui_mismatch_form.h"
#include "ui_sel_wave_form.h"
#include "ui_x_axis_form.h"
#include "waveform/units.h"

namespace r470 {

namespace {
QString Row(const char* prefix, int n) {
    return QString(prefix) + QString::number(n);
}
} // namespace

TSelWaveForm::TSelWaveForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TSelWaveForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    connect(ui_->OkBtn, &QPushButton::clicked, this, [this] {
        if (!session_ || session_->OkClick(Boxes()))
            accept();
    });
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TSelWaveForm::~TSelWaveForm() = default;

void TSelWaveForm::Fill(const DisplayModeFields& f) {
    for (int n = 1; n <= kFileSlots; ++n) {
        auto i = static_cast<std::size_t>(n - 1);
        SetEdit(this, Row("File", n), f.File[i]);
        if (auto* e = findChild<QLineEdit*>(Row("File", n)))
            e->setCursorPosition(e->text().size()); // the file name, not the folder
        SetCheck(this, Row("Disp", n), f.Boxes.Disp[i]);
        SetCheck(this, Row("Diff", n), f.Boxes.Diff[i]);
    }
    SetCheck(this, Row("Disp", kDiffSlot), f.Boxes.Disp[kDiffSlot - 1]);
}

DisplayChoice TSelWaveForm::Boxes() const {
    DisplayChoice c;
    auto* self = const_cast<TSelWaveForm*>(this);
    for (int n = 1; n <= kDiffSlot; ++n)
        c.Disp[static_cast<std::size_t>(n - 1)] = GetCheck(self, Row("Disp", n));
    for (int n = 1; n <= kFileSlots; ++n)
        c.Diff[static_cast<std::size_t>(n - 1)] = GetCheck(self, Row("Diff", n));
    return c;
}

std::optional<DisplayChoice> TSelWaveForm::Run(DisplayModeSession& session) {
    Fill(session.Initial());
    session_ = &session;
    int result = exec();
    session_ = nullptr;
    if (result != QDialog::Accepted)
        return std::nullopt;
    return Boxes();
}

TMismatchForm::TMismatchForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TMismatchForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    connect(ui_->OkBtn, &QPushButton::clicked, this, [this] {
        answer_ = MismatchAnswer::Ok;
        accept();
    });
    connect(ui_->ClearBtn, &QPushButton::clicked, this, &TMismatchForm::ClearClick);
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TMismatchForm::~TMismatchForm() = default;

void TMismatchForm::ClearClick() {
    answer_ = clearClick_ && clearClick_() ? MismatchAnswer::ClearOthers : MismatchAnswer::Cancel;
    done(answer_ == MismatchAnswer::ClearOthers ? QDialog::Accepted : QDialog::Rejected);
}

MismatchAnswer TMismatchForm::Run(const std::string& message,
                                  const std::function<bool()>& clearClick) {
    SetEdit(this, "Message", message);
    clearClick_ = clearClick;
    answer_ = MismatchAnswer::Cancel;
    if (exec() != QDialog::Accepted)
        answer_ = MismatchAnswer::Cancel; // Cancel, Escape or the close box
    clearClick_ = nullptr;
    return answer_;
}

TDielDifForm::TDielDifForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TDielDifForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    connect(ui_->TimeBtn, &QPushButton::clicked, this, [this] {
        answer_ = DielDifAnswer::ChangeToTime;
        accept();
    });
    connect(ui_->SameBtn, &QPushButton::clicked, this, [this] {
        answer_ = DielDifAnswer::MakeSame;
        accept();
    });
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TDielDifForm::~TDielDifForm() = default;

DielDifAnswer TDielDifForm::Run() {
    answer_ = DielDifAnswer::Cancel;
    return exec() == QDialog::Accepted ? answer_ : DielDifAnswer::Cancel;
}

TDielDif2Form::TDielDif2Form(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TDielDif2Form>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    connect(ui_->SameBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TDielDif2Form::~TDielDif2Form() = default;

bool TDielDif2Form::Run() {
    return exec() == QDialog::Accepted;
}

TXAxisForm::TXAxisForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TXAxisForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    connect(ui_->OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TXAxisForm::~TXAxisForm() = default;

std::optional<int> TXAxisForm::Run(int units) {
    QRadioButton* items[] = {ui_->Feet, ui_->Metres, ui_->Time};
    items[std::clamp(units, 0, 2)]->setChecked(true);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    for (int i = 0; i < 3; ++i)
        if (items[i]->isChecked())
            return i;
    return units;
}

TdBRLForm::TdBRLForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TdBRLForm>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    connect(ui_->OkBtn, &QPushButton::clicked, this, &QDialog::accept);
}

TdBRLForm::~TdBRLForm() = default;

void TdBRLForm::Fill(const std::string& ratio, const std::string& dB) {
    SetEdit(this, "RLStr", ratio);
    SetEdit(this, "dBStr", dB);
}

void TdBRLForm::Run(const std::string& ratio, const std::string& dB) {
    Fill(ratio, dB);
    exec();
}

QtCompareDialogs::QtCompareDialogs(QWidget* parent)
    : selWave_(new TSelWaveForm(parent)), mismatch_(new TMismatchForm(parent)),
      dielDif_(new TDielDifForm(parent)), dielDif2_(new TDielDif2Form(parent)),
      xAxis_(new TXAxisForm(parent)), dBRL_(new TdBRLForm(parent)) {}

std::optional<DisplayChoice> QtCompareDialogs::SelectWaveforms(DisplayModeSession& session) {
    return selWave_->Run(session);
}

MismatchAnswer QtCompareDialogs::ChooseMismatch(const std::string& message,
                                                const std::function<bool()>& clearClick) {
    return mismatch_->Run(message, clearClick);
}

DielDifAnswer QtCompareDialogs::ChooseDielDif() {
    return dielDif_->Run();
}

std::optional<int> QtCompareDialogs::ChooseXAxis(int units) {
    return xAxis_->Run(units);
}

bool QtCompareDialogs::ChooseDielDif2() {
    return dielDif2_->Run();
}

void QtCompareDialogs::ShowdBRL(const std::string& ratio, const std::string& dB) {
    dBRL_->Run(ratio, dB);
}

} // namespace r470
