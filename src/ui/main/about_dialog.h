// The About box "О программе": the program's name and version, a short note on what it
// computes and where its reference data live, and OK.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace coldroom {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    QLabel* nameLabel() const { return name_; }
    QLabel* versionLabel() const { return version_; }
    QPlainTextEdit* text() const { return text_; }
    QPushButton* okButton() const { return ok_; }

private:
    QLabel* name_;
    QLabel* version_;
    QPlainTextEdit* text_;
    QPushButton* ok_;
};

// The text of Text1.
QString AboutText();

// Shows the About box without making it modal; a second call while it is open brings the
// same box to the front. The box is deleted when it closes.
AboutDialog* ShowAbout(QWidget* parent = nullptr);

}  // namespace coldroom
