// Message boxes, file filters and focus of the desktop implementation of UserInterface.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/qt_user_interface.h"

namespace coldroom {
namespace {

QApplication& App() { return test::TestApplication(); }

TEST(QtFileFilterTest, BarSeparatedFiltersBecomeQtFilters) {
    struct Case {
        const char* given;
        const char* filter;
        const char* suffix;
    };
    const Case cases[] = {
        {"Файлы конфигурации (*.cfg) | *.cfg", "Файлы конфигурации (*.cfg)", "cfg"},
        {"Файлы отчетов (*.csv) | *.csv", "Файлы отчетов (*.csv)", "csv"},
        {"Файлы HTML (*.htm) | *.htm", "Файлы HTML (*.htm)", "htm"},
        {"Текст|*.txt", "Текст (*.txt)", "txt"},
        {"Страницы|*.htm;*.html|Все файлы|*.*", "Страницы (*.htm *.html);;Все файлы (*.*)", "htm"},
        {"Все файлы (*.*)|*.*", "Все файлы (*.*)", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QtFileFilter(c.given), QString::fromUtf8(c.filter)) << c.given;
        EXPECT_EQ(DefaultSuffix(c.given), QString::fromUtf8(c.suffix)) << c.given;
    }
}

// Answers the next message box by pressing the button with the given text, and notes what
// the box showed.
struct BoxSeen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

void answerNextBox(const QString& press, BoxSeen& seen) {
    QTimer::singleShot(0, [press, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size())};
        for (QAbstractButton* b : box->buttons())
            if (QString(b->text()).remove(u'&') == press) b->click();
    });
}

TEST(QtUserInterfaceTest, MessageBoxesShowTheirIconTitleAndButtons) {
    App();
    QtUserInterface ui;
    struct Case {
        MsgIcon icon;
        MsgButtons buttons;
        const char* title;
        const char* press;
        MsgAnswer answer;
        QMessageBox::Icon shownIcon;
        const char* shownTitle;
        int shownButtons;
    };
    const Case cases[] = {
        {MsgIcon::Critical, MsgButtons::Ok, kInputErrorTitle, "OK", MsgAnswer::Ok, QMessageBox::Critical,
         kInputErrorTitle, 1},
        {MsgIcon::None, MsgButtons::Ok, "", "OK", MsgAnswer::Ok, QMessageBox::NoIcon, kAppTitle, 1},
        {MsgIcon::Exclamation, MsgButtons::YesNo, kAppTitle, "Да", MsgAnswer::Yes, QMessageBox::Warning, kAppTitle, 2},
        {MsgIcon::Information, MsgButtons::YesNo, "Вопрос", "Нет", MsgAnswer::No, QMessageBox::Information,
         "Вопрос", 2},
    };
    for (const Case& c : cases) {
        BoxSeen seen;
        answerNextBox(QString::fromUtf8(c.press), seen);
        const MsgAnswer answer = ui.message("Температура конца охлаждения должна быть\r\nбольше температуры в камере",
                                            c.title, c.icon, c.buttons);
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(seen.icon, c.shownIcon);
        EXPECT_EQ(seen.title, QString::fromUtf8(c.shownTitle));
        EXPECT_EQ(seen.buttons, c.shownButtons);
        EXPECT_EQ(seen.text, QString::fromUtf8("Температура конца охлаждения должна быть\nбольше температуры в камере"));
    }
}

TEST(QtUserInterfaceTest, FocusGoesToTheNamedControlEvenOnAHiddenTab) {
    App();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* tabs = new QTabWidget;
    auto* first = new QLineEdit;
    first->setObjectName(QStringLiteral("Length_txt"));
    auto* page = new QWidget;
    auto* second = new QLineEdit(page);
    second->setObjectName(QStringLiteral("Cycle_txt"));
    tabs->addTab(first, QStringLiteral("0"));
    tabs->addTab(page, QStringLiteral("1"));
    layout->addWidget(tabs);
    window.show();
    window.activateWindow();
    QApplication::processEvents();

    QtUserInterface ui;
    ui.registerWindow(WindowId::MainWindow, &window);
    ui.setFocus(WindowId::MainWindow, "Cycle_txt");
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(window.focusWidget(), second);
    ui.setFocus(WindowId::MainWindow, "No_such_control");  // ignored
    ui.setFocus(WindowId::Editor, "Cycle_txt");            // a window never registered
    EXPECT_EQ(window.focusWidget(), second);
}

TEST(QtUserInterfaceTest, WindowsAreShownThroughTheirCommandsOrDirectly) {
    App();
    QtUserInterface ui;
    QWidget plain;
    ui.registerWindow(WindowId::About, &plain);
    ui.showWindow(WindowId::About);
    EXPECT_TRUE(plain.isVisible());
    ui.hideWindow(WindowId::About);
    EXPECT_FALSE(plain.isVisible());

    int shown = 0, hidden = 0;
    ui.setWindowCommands(WindowId::PrintOptions, [&] { ++shown; }, [&] { ++hidden; });
    ui.showWindow(WindowId::PrintOptions);
    ui.hideWindow(WindowId::PrintOptions);
    ui.showWindow(WindowId::Help);  // nothing registered: nothing happens
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(hidden, 1);
}

}  // namespace
}  // namespace coldroom
