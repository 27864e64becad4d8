// The report options window " Параметры печати отчета" and the desktop printer behind it.
#pragma once

#include <QDialog>
#include <string>
#include <functional>
#include <memory>

#include "ui/controls.h"
#include "reports/store_report.h"
#include "ui/print/print_options_form.h"

class QPrinter;

namespace coldroom {

class QtBinder;

class PrintOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrintOptionsDialog(QWidget* parent = nullptr);
    ~PrintOptionsDialog() override;
    void bind(const ControlRegistry& controls, std::function<void()> refreshAll = {});
    void refresh();
    QtBinder* binder() const { return binder_.get(); }

protected:
    void reject() override;

private:
    std::unique_ptr<QtBinder> binder_;
};

// Prints through the system's printer dialog after a preview; PDF files are painted the same
// way into a file.
class QtReportPrinter : public ReportPrinter {
public:
    explicit QtReportPrinter(QWidget* parent = nullptr) : parent_(parent) {}
    bool PrintPage(const ReportModel& model, std::string& error) override;
    bool WritePdf(const std::string& path, const ReportModel& model, std::string& error) override;
    bool PrintNote(const CalculationNote& note, std::string& error) override;
    bool WriteNotePdf(const std::string& path, const CalculationNote& note, std::string& error) override;
    // The store's landscape pages, through the same preview.
    bool PrintStore(const StoreSheet& sheet, std::string& error);

private:
    // Shows the preview of what `paint` draws and prints it from there.
    bool preview(const std::string& title,
                 const std::function<bool(QPrinter&, std::string&)>& paint, std::string& error,
                 bool landscape = false);

    QWidget* parent_;
};

}  // namespace coldroom
