// The About box "О программе": the program's name and version, a short note on what it
// computes and where its reference data live, and OK.
#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace coldroom {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // The program's name is two labels: the name and, a little offset behind it, its shade.
    QLabel* nameLabel() const { return name_; }
    QLabel* nameShadeLabel() const { return shade_; }
    QLabel* versionLabel() const { return version_; }
    QPlainTextEdit* text() const { return text_; }

private:
    QLabel* name_;
    QLabel* shade_;
    QLabel* version_;
    QPlainTextEdit* text_;
    QPushButton* ok_;
};

// The text of Text1.
QString AboutText();

// Shows the About box held in `box` without making it modal, making one when there is none;
// while it is open another call brings the same box to the front. The box is deleted when
// it closes, which empties `box`.
AboutDialog* ShowAbout(QPointer<AboutDialog>& box, QWidget* parent = nullptr);

}  // namespace coldroom
