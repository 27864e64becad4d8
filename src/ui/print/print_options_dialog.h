// The report options window " Параметры печати отчета" and the desktop printer behind it.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "ui/controls.h"
#include "ui/print/print_options_form.h"

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

private:
    QWidget* parent_;
};

}  // namespace coldroom
