#include "ui/qt_user_interface.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include <algorithm>

#include "ui/qt_form_widgets.h"

namespace coldroom {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QStringList splitFilter(const std::string& filter) {
    QStringList parts = q(filter).split(u'|');
    for (QString& part : parts) part = part.trimmed();
    return parts;
}

// The program's messages break their own lines; the box's narrow default width would break
// them again and leave a word or two alone on a line. The text gets the width of its longest
// line, up to about ninety characters (still a readable measure) and three quarters of the screen,
// beyond which a line wraps. The box is also made wide enough for its title beside the window
// system's icon and buttons, which would otherwise cut it ("Ошибка …начения!").
void setTextWidth(QMessageBox& box, const QString& body) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label) return;
    const QFontMetrics metrics = label->fontMetrics();
    int longest = 0;
    for (const QString& line : body.split(u'\n')) longest = std::max(longest, metrics.horizontalAdvance(line));
    int measure = 90 * metrics.averageCharWidth();
    if (const QScreen* screen = box.screen()) measure = std::min(measure, screen->availableGeometry().width() * 3 / 4);
    label->setMinimumWidth(std::max(std::min(longest + 2, measure), TitleRoom(box.windowTitle(), label->font())));
}

}  // namespace

int TitleRoom(const QString& title, const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    // The window's icon and three buttons, each about a title bar high.
    const int bar = 2 * metrics.height();
    return metrics.horizontalAdvance(title) + 4 * bar;
}

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = splitFilter(filter);
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString pattern = i + 1 < parts.size() ? parts[i + 1] : QString();
        pattern.replace(u';', u' ');  // several patterns: "*.htm;*.html"
        if (description.isEmpty() && pattern.isEmpty()) continue;
        if (pattern.isEmpty() || description.contains(u'(' + pattern + u')'))
            entries.push_back(description);
        else if (description.isEmpty())
            entries.push_back(u'(' + pattern + u')');
        else
            entries.push_back(description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return entries.join(u";;");
}

QString DefaultSuffix(const std::string& filter) {
    const QStringList parts = splitFilter(filter);
    if (parts.size() < 2) return {};
    const QString pattern = parts[1].section(u';', 0, 0).trimmed();
    if (!pattern.startsWith(u"*.")) return {};
    const QString suffix = pattern.mid(2);
    return suffix.contains(u'*') || suffix.contains(u'?') ? QString() : suffix;
}

void QtUserInterface::registerWindow(WindowId id, QWidget* window) { windows_[id].window = window; }

void QtUserInterface::setWindowCommands(WindowId id, std::function<void()> show,
                                        std::function<void()> hide) {
    Entry& e = windows_[id];
    e.show = std::move(show);
    e.hide = std::move(hide);
}

QWidget* QtUserInterface::dialogParent() const {
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (const auto& [id, entry] : windows_)
        if (entry.window && entry.window->isVisible()) return entry.window;
    return nullptr;
}

QString QtUserInterface::initialFolder() const {
    return initialFolder_.isEmpty() ? QDir::homePath() : initialFolder_;
}

MsgAnswer QtUserInterface::message(const std::string& text, const std::string& title, MsgIcon icon,
                                   MsgButtons buttons) {
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::None: qtIcon = QMessageBox::NoIcon; break;
    case MsgIcon::Critical: qtIcon = QMessageBox::Critical; break;
    case MsgIcon::Exclamation:
    case MsgIcon::Warning: qtIcon = QMessageBox::Warning; break;
    case MsgIcon::Information: qtIcon = QMessageBox::Information; break;
    }
    QString body = q(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(u'\r', u'\n');

    QMessageBox box(qtIcon, q(title.empty() ? std::string(kAppTitle) : title), body,
                    QMessageBox::NoButton, dialogParent());
    box.setTextFormat(Qt::PlainText);
    setTextWidth(box, body);
    // The standard buttons in Russian, each with its Alt letter; Enter presses «Да» (or
    // «OK»), Escape the answer that changes nothing.
    const auto answer = [&box](QMessageBox::StandardButton button, const char* text) {
        box.addButton(button)->setText(QString::fromUtf8(text));
    };
    switch (buttons) {
    case MsgButtons::YesNo:
        answer(QMessageBox::Yes, "&Да");
        answer(QMessageBox::No, "&Нет");
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        answer(QMessageBox::Yes, "&Да");
        answer(QMessageBox::No, "&Нет");
        answer(QMessageBox::Cancel, "&Отмена");
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    default:
        answer(QMessageBox::Ok, "OK");
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    }
    box.exec();
    // Closing the box any other way keeps the person where they were.
    const QAbstractButton* clicked = box.clickedButton();
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (clicked == box.button(QMessageBox::Yes)) return MsgAnswer::Yes;
    if (buttons == MsgButtons::YesNo || clicked == box.button(QMessageBox::No)) return MsgAnswer::No;
    return MsgAnswer::Cancel;
}

std::string QtUserInterface::openFileName(const std::string& filter) {
    const QString path =
        QFileDialog::getOpenFileName(dialogParent(), {}, initialFolder(), QtFileFilter(filter));
    return path.toStdString();
}

std::string QtUserInterface::saveFileName(const std::string& filter) {
    QFileDialog dialog(dialogParent(), {}, initialFolder(), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(DefaultSuffix(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

void QtUserInterface::setFocus(WindowId window, const std::string& control) {
    auto it = windows_.find(window);
    if (it == windows_.end() || !it->second.window) return;
    QWidget* target = it->second.window->findChild<QWidget*>(q(control));
    if (!target) return;
    // A control on a hidden tab page is brought into view first, or it cannot take the focus.
    for (QWidget* w = target; w && w != it->second.window; w = w->parentWidget()) {
        QWidget* stack = w->parentWidget();
        auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs && tabs->indexOf(w) >= 0) tabs->setCurrentWidget(w);
    }
    target->setFocus(Qt::OtherFocusReason);
}

void QtUserInterface::showWindow(WindowId window) {
    Entry& e = windows_[window];
    if (e.show) {
        e.show();
    } else if (e.window) {
        BringToFront(*e.window);
    }
}

void QtUserInterface::hideWindow(WindowId window) {
    Entry& e = windows_[window];
    if (e.hide)
        e.hide();
    else if (e.window)
        e.window->hide();
}

}  // namespace coldroom
