#include "output/report_form.h"

#include "common/file_io.h"
#include "output/report_qt.h"
#include "shell/messages.h"
#include "shell/prompts.h"
#include "ui_report_form.h"

#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace r470 {

namespace {
std::string Text(const QLineEdit* e) {
    return e->text().trimmed().toStdString();
}
} // namespace

TReportForm::TReportForm(QWidget* parent, std::vector<ReportWaveform> waveforms,
                         const ReportDefaults& defaults, int units, PaperKind paper,
                         Prompts& prompts)
    : QDialog(parent), ui_(std::make_unique<Ui::TReportForm>()), waveforms_(std::move(waveforms)),
      prompts_(prompts) {
    ui_->setupUi(this);
    setFixedSize(size());
    ui_->LWaveforms->setText(
        waveforms_.size() == 1
            ? QStringLiteral("One waveform: %1").arg(QString::fromStdString(waveforms_[0].fileName))
            : QStringLiteral("%1 waveforms, after a summary page").arg(waveforms_.size()));
    ui_->TitleEdit->setText(QString::fromStdString(defaults.title));
    ui_->TechnicianEdit->setText(QString::fromStdString(defaults.technician));
    ui_->SiteEdit->setText(QString::fromStdString(defaults.site));
    ui_->PaperBox->setCurrentIndex(paper == PaperKind::Letter ? 1 : 0);
    ui_->UnitsBox->setCurrentIndex(units == AxisFeet ? 0 : 1);
    connect(ui_->PreviewBtn, &QPushButton::clicked, this, &TReportForm::PreviewClick);
    connect(ui_->SaveBtn, &QPushButton::clicked, this, [this] { SaveClick(); });
    connect(ui_->CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
}

TReportForm::~TReportForm() = default;

ReportDefaults TReportForm::Defaults() const {
    return {Text(ui_->TitleEdit), Text(ui_->TechnicianEdit), Text(ui_->SiteEdit)};
}

PaperKind TReportForm::Paper() const {
    return ui_->PaperBox->currentIndex() == 1 ? PaperKind::Letter : PaperKind::A4;
}

ReportOptions TReportForm::Options() const {
    return ReportOptionsFor(Defaults(), ui_->UnitsBox->currentIndex() == 0 ? AxisFeet : AxisMetres,
                            ReportToday());
}

void TReportForm::PreviewClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(
        QPageSize(Paper() == PaperKind::Letter ? QPageSize::Letter : QPageSize::A4));
    QPrintPreviewDialog preview(&printer, this);
    const ReportOptions options = Options();
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&](QPrinter* p) { PaintReport(*p, waveforms_, options); });
    preview.exec();
}

bool TReportForm::SaveClick(std::optional<std::string> path) {
    if (!path) {
        QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Save report as"),
                                                      QStringLiteral("report.pdf"),
                                                      QStringLiteral("PDF files (*.pdf)"));
        if (chosen.isEmpty())
            return false;
        if (!chosen.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            chosen += QStringLiteral(".pdf");
        path = chosen.toStdString();
    }
    std::string error = WriteReportPdf(waveforms_, Options(), Paper(), *path);
    if (!error.empty()) {
        prompts_.ShowMessageBox(Utf8ToCp1252("Cannot write the report " + *path + ": " + error),
                                MessageText(MsgProblem), MbOk);
        return false;
    }
    return true;
}

void ShowReportDialog(QWidget* parent, const Workspace& session, const DisplayState& display,
                      Prompts& prompts) {
    if (CanReport(session, prompts))
        ShowReportDialogFor(parent, session, LoadedWaveforms(session, display), prompts);
}

void ShowReportDialogFor(QWidget* parent, const Workspace& session,
                         std::vector<ReportWaveform> waveforms, Prompts& prompts) {
    const std::string configDir =
        session.paths.configDir.empty() ? DirName(session.paths.iniFile) : session.paths.configDir;
    const std::string file = ReportDefaultsPath(configDir);
    const ReportDefaults before = ReadReportDefaults(file);
    TReportForm form(parent, std::move(waveforms), before, ReportUnits(session.settings),
                     SystemPaper(), prompts);
    form.exec();
    // Remembered for the next report; a folder that cannot be written only forgets them.
    if (form.Defaults() != before)
        SaveReportDefaults(file, form.Defaults());
}

} // namespace r470
