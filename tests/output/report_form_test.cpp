// The "Report..." dialog on real Qt devices: its fields from what was remembered, the PDF it
// saves, and a report that cannot be written told, not lost silently.
#include "output/report_form.h"
#include "output/report_qt.h"
#include "support/pdf_pages.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui_report_form.h"

#include <QPrinter>
#include <QtTest>

using namespace r470;

namespace {

std::vector<ReportWaveform> Samples(std::initializer_list<const char*> names) {
    std::vector<ReportWaveform> out;
    for (const char* n : names) {
        ReportWaveform w;
        w.fileName = n;
        if (ReadTraceFile(std::string(R470_SAMPLES) + "/" + n, w.trace) != LoadOk)
            qFatal("sample missing");
        out.push_back(w);
    }
    return out;
}

} // namespace

class ReportFormTest : public QObject {
    Q_OBJECT
  private slots:
    void fieldsStartFromTheRememberedValuesAndSaveAPdf() {
        test::TempDir dir;
        test::ScriptedPrompts prompts;
        TReportForm form(nullptr, Samples({"FEEDER1.KEL", "FEEDER2.KEL"}),
                         {"Acceptance test", "Zoë", "Depot"}, AxisFeet, PaperKind::Letter, prompts);
        QCOMPARE(form.ui().TitleEdit->text(), QString("Acceptance test"));
        QCOMPARE(form.ui().TechnicianEdit->text(), QString::fromUtf8("Zoë"));
        QCOMPARE(form.Paper(), PaperKind::Letter);
        QCOMPARE(form.Options().units, int(AxisFeet));
        form.ui().SiteEdit->setText("  North yard ");
        QCOMPARE(form.Defaults(), (ReportDefaults{"Acceptance test", "Zoë", "North yard"}));

        const std::string out = dir.Path("r.pdf");
        QVERIFY(form.SaveClick(out));
        QCOMPARE(test::PdfPages(test::ReadBytes(out)), std::size_t(3));
        QVERIFY(prompts.boxes.empty());

        // A folder where the file should go: told, with the reason.
        prompts.answers = {IdOk};
        QVERIFY(!form.SaveClick(dir.Path()));
        QCOMPARE(prompts.boxes.size(), std::size_t(1));
        QVERIFY(prompts.boxes[0].text.starts_with("Cannot write the report"));
        QCOMPARE(prompts.boxes[0].caption, std::string("Problem"));
    }

    void printerPagesFollowThePaperOfThePrinter() {
        test::TempDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(dir.Path("p.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        ReportOptions o;
        QVERIFY(PaintReport(printer, Samples({"FEEDER1.KEL", "SHORT.KEL", "PE700.KEL"}), o));
        QCOMPARE(test::PdfPages(test::ReadBytes(dir.Path("p.pdf"))), std::size_t(4));
    }
};

QTEST_MAIN(ReportFormTest)
#include "report_form_test.moc"
