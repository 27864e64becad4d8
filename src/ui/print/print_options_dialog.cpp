#include "ui/print/print_options_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "reports/qt_canvas.h"
#include "reports/qt_store_pdf.h"
#include "ui/qt_binder.h"
#include "ui/qt_form_widgets.h"
#include "ui/qt_user_interface.h"

namespace coldroom {

namespace {

QRadioButton* option(const char* name, const QString& caption) {
    auto* button = new QRadioButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// The part of the paper the printer can ink, in millimetres from the paper's corner.
QRectF PrintableArea(const QPrinter& printer) {
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
    return QRectF(0, 0, paper.width(), paper.height()).marginsRemoved(layout.minimumMargins());
}

// Paints the report on `printer`, scaled into the printable area of the paper chosen there (A4
// portrait unless the person chose another in the preview), so that nothing falls into the
// printer's margin.
bool PrintReport(QPrinter& printer, const ReportModel& model, std::string& error) {
    printer.setFullPage(true);
    printer.setDocName(QString::fromStdString(model.heading.title));
    if (!PaintPrintedReport(printer, model, error, PrintableArea(printer))) {
        error = "Не удается напечатать отчет: принтер недоступен";
        return false;
    }
    return true;
}

}  // namespace

PrintOptionsDialog::PrintOptionsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PrintOptions"));
    setWindowTitle(QStringLiteral(" Параметры печати отчета"));
    setModal(false);

    auto* root = Spaced<QVBoxLayout>(10, this, 12);

    auto* where = Frame(QStringLiteral("Куда печатать"), "Frame1");
    auto* whereLayout = new QVBoxLayout(where);
    whereLayout->addWidget(option("Print_Printer_opt", QStringLiteral("На принтер")));
    whereLayout->addWidget(option("Print_Html_opt", QStringLiteral("В файл формата HTML ")));
    whereLayout->addWidget(option("Print_File_opt", QStringLiteral("В файл .csv (формат Excel)")));
    whereLayout->addWidget(option("Print_Pdf_opt", QStringLiteral("В файл PDF")));
    root->addWidget(where);

    auto* texts = new QFormLayout;
    texts->setRowWrapPolicy(QFormLayout::WrapAllRows);
    auto* title = new QLineEdit;
    title->setObjectName(QStringLiteral("NameProject_txt"));
    auto* author = new QLineEdit;
    author->setObjectName(QStringLiteral("Company_txt"));
    texts->addRow(CaptionLabel(QStringLiteral("Название проекта")), title);
    texts->addRow(CaptionLabel(QStringLiteral("Расчет сделал (фамилия исполнителя/ название фирмы)")), author);
    // The calculation note's heading and signature block; the program remembers both.
    auto* number = new QLineEdit;
    number->setObjectName(QStringLiteral("ProjectNumber_txt"));
    auto* checker = new QLineEdit;
    checker->setObjectName(QStringLiteral("Checker_txt"));
    texts->addRow(CaptionLabel(QStringLiteral("Номер проекта (для расчётной записки)")), number);
    texts->addRow(CaptionLabel(QStringLiteral("Проверил (фамилия, для расчётной записки)")), checker);
    root->addLayout(texts);

    // The kind of report, beside the buttons: the note goes wherever the options above say,
    // except the .csv file.
    auto* buttons = DialogButtons(QStringLiteral("&Печать"), QStringLiteral("&Отмена"), 100);
    auto* note = new QCheckBox(QStringLiteral("Рас&чётная записка"));
    note->setObjectName(QStringLiteral("Print_Note_chk"));
    note->setToolTip(QStringLiteral("Вместо отчета: все исходные данные, промежуточные величины и формулы расчета"));
    auto* row = new QHBoxLayout;
    row->addWidget(note);
    row->addWidget(buttons, 1);
    root->addLayout(row);
    setMinimumWidth(440);
}

PrintOptionsDialog::~PrintOptionsDialog() = default;

void PrintOptionsDialog::bind(const ControlRegistry& controls, std::function<void()> refreshAll) {
    if (!refreshAll) refreshAll = [this] { refresh(); };
    binder_ = std::make_unique<QtBinder>(this, controls, std::move(refreshAll));
}

void PrintOptionsDialog::refresh() {
    if (binder_) binder_->refresh();
}

// Escape and the title-bar button act as "Отмена", which leaves the project as it was.
void PrintOptionsDialog::reject() {
    if (auto* cancel = findChild<QPushButton*>(QStringLiteral("Cancel_btn"))) cancel->click();
}

bool QtReportPrinter::preview(const std::string& title,
                              const std::function<bool(QPrinter&, std::string&)>& paint, std::string& error,
                              bool landscape) {
    QPrinter printer(QPrinter::HighResolution);
    // A preview needs no printer: without one the page is previewed as a PDF page, and the
    // print dialog of the preview offers a printer set up meanwhile, or a PDF file.
    if (QPrinterInfo::availablePrinters().isEmpty()) printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setDocName(QString::fromStdString(title));
    QPrintPreviewDialog preview(&printer, parent_);
    preview.setObjectName(QStringLiteral("ReportPreview"));
    preview.setWindowTitle(QStringLiteral("Предварительный просмотр отчета"));
    std::string paintError;
    bool painted = true;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
        QtUserInterface ui;
        if (!GuardedCall(ui, [&] { painted = paint(*target, paintError) && painted; })) painted = false;
    });
    preview.resize(900, 1000);
    FitToScreen(preview);
    preview.exec();  // closing the preview (or its printer dialog) prints nothing
    if (!painted) {
        error = paintError;
        return false;
    }
    return true;
}

bool QtReportPrinter::PrintPage(const ReportModel& model, std::string& error) {
    return preview(model.heading.title, [&](QPrinter& p, std::string& e) { return PrintReport(p, model, e); }, error);
}

bool QtReportPrinter::PrintNote(const CalculationNote& note, std::string& error) {
    return preview(note.title, [&](QPrinter& printer, std::string& e) {
        printer.setFullPage(true);
        if (!PaintCalculationNote(printer, note, e, PrintableArea(printer))) {
            e = "Не удается напечатать расчётную записку: принтер недоступен";
            return false;
        }
        return true;
    }, error);
}

bool QtReportPrinter::PrintStore(const StoreSheet& sheet, std::string& error) {
    return preview(
        sheet.title,
        [&](QPrinter& printer, std::string& e) {
            printer.setFullPage(true);
            if (!PaintStorePages(printer, sheet, e, PrintableArea(printer))) {
                e = "Не удается напечатать отчет: принтер недоступен";
                return false;
            }
            return true;
        },
        error, true);
}

bool QtReportPrinter::WriteNotePdf(const std::string& path, const CalculationNote& note, std::string& error) {
    return WriteCalculationNotePdf(path, note, error);
}

bool QtReportPrinter::WritePdf(const std::string& path, const ReportModel& model, std::string& error) {
    return WritePrintedReportPdf(path, model, error);
}

}  // namespace coldroom
