// How the desktop windows fit a small screen and show their texts whole: window sizes, the
// chart's values, the lines of a message.
#include <gtest/gtest.h>

#include "qt_test_app.h"

#include <QAbstractButton>
#include <QDataStream>
#include <QChartView>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <limits>

#include "ui/qt_form_widgets.h"
#include "ui/qt_load_chart.h"
#include "ui/qt_user_interface.h"

namespace coldroom {
namespace {

QApplication& App() { return test::TestApplication(); }

TEST(WindowFit, AFrameShrinksAndMovesIntoTheFreeArea) {
    const QRect area(0, 0, 1366, 760);       // a 1366×800 screen less its task bar
    const QRect topBar(0, 40, 1366, 760);    // the task bar at the top
    struct Case { QRect frame, available, fitted; } cases[] = {
        {{10, 10, 800, 600}, area, {10, 10, 800, 600}},      // fits: left alone
        {{43, 0, 1280, 831}, area, {43, 0, 1280, 760}},      // too tall: the buttons at the foot were lost
        {{900, 300, 800, 600}, area, {566, 160, 800, 600}},  // sticks out right and below
        {{-50, -20, 2000, 900}, area, area},
        {{0, 0, 800, 600}, topBar, {0, 40, 800, 600}},
    };
    for (const auto& c : cases) EXPECT_EQ(FitFrame(c.frame, c.available), c.fitted) << c.frame.x();
}

TEST(WindowFit, WindowsTooBigForTheScreenFitWithTheirTitleBar) {
    App();
    const QMargins frame(8, 31, 8, 8);
    QWidget window;
    window.resize(4000, 3000);
    const QRect available = window.screen()->availableGeometry();
    FitToScreen(window, frame);
    EXPECT_TRUE(available.contains(QRect(window.pos(), window.size().grownBy(frame))));

    // A dialog is centred over its parent by Qt itself: only its size is made to fit.
    QDialog dialog(&window);
    dialog.resize(500, 4000);
    FitToScreen(dialog, frame);
    EXPECT_EQ(dialog.size(), QSize(500, available.height() - 39));
    EXPECT_FALSE(dialog.testAttribute(Qt::WA_Moved));
}

// A window place saved near the ends of int (a damaged or hostile settings file) is brought
// onto the screen like any other.
TEST(WindowFit, AnExtremeSavedPlaceComesBackOnTheScreen) {
    App();
    const QMargins frame(8, 31, 8, 8);
    constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
    const QRect places[] = {{QPoint(kMax - 900, kMax - 700), QPoint(kMax, kMax)},
                            {QPoint(kMin, kMin), QPoint(kMin + 900, kMin + 700)},
                            {QPoint(kMin, kMax - 700), QPoint(kMin + 900, kMax)}};
    for (const QRect& place : places) {
        QByteArray saved;
        {
            QDataStream out(&saved, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_4_0);
            out << quint32(0x1D9D0CB) << quint16(3) << quint16(0) << place << place << qint32(0) << quint8(0)
                << quint8(0) << qint32(1024) << place;
        }
        QWidget window;
        window.restoreGeometry(saved);
        window.move(place.topLeft());  // as a platform that keeps any place would leave it
        FitToScreen(window, frame);
        const QRect available = window.screen()->availableGeometry();
        EXPECT_TRUE(available.contains(QRect(window.pos(), window.size().grownBy(frame)))) << place.x();
    }
}

// Tens of megawatts keep every digit and the names stay whole: the bars give way. Each row's
// bar stands level with its texts.
TEST(LoadChartLook, TextsShowWholeLevelWithTheirBars) {
    App();
    for (int width : {300, 220}) {
        LoadChart chart;
        chart.setBars({{QStringLiteral("Ограждения"), 61920486},
                       {QStringLiteral("Теплота вентиляторов"), 465},
                       {QStringLiteral("Продукты"), 0, false}});
        chart.resize(width, chart.sizeHint().height());
        chart.show();
        QApplication::processEvents();
        // Written as the result fields write them; no shares while a component is unknown.
        EXPECT_EQ(chart.values(), (QStringList{QStringLiteral("61920486 Вт"), QStringLiteral("465 Вт"),
                                               QStringLiteral("—")}));
        const auto labels = chart.findChildren<QLabel*>();
        ASSERT_EQ(labels.size(), 6);
        const QRectF plot = chart.view()->chart()->plotArea();
        for (QLabel* label : labels) {
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << width;
            const int row = static_cast<int>(chart.names().indexOf(label->text()) >= 0
                                                 ? chart.names().indexOf(label->text())
                                                 : chart.values().indexOf(label->text()));
            const double barMiddle = chart.view()->y() + plot.top() + (row + 0.5) * plot.height() / 3;
            EXPECT_NEAR(label->geometry().center().y(), barMiddle, 3) << label->text().toStdString();
        }
    }
}

// A message's own lines are not broken again (single words were left on a line); its title has
// room beside a title bar's icon and buttons («Ошибка …начения!» was cut); its answers have
// Alt letters.
TEST(MessageLook, LinesTitleAndAnswersShowWhole) {
    App();
    QtUserInterface ui;
    const QString first = QStringLiteral("Желаемое время меньше расчетного! Для заданных параметров невозможно");
    int labelWidth = 0, needed = 0, boxWidth = 0, titleNeeds = 0;
    QStringList answers;
    auto look = [&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            labelWidth = label->width();
            needed = label->fontMetrics().horizontalAdvance(first);
            QFont bold = box->font();
            bold.setBold(true);
            titleNeeds = QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 3 * 24;
            boxWidth = box->width();
            answers.clear();
            for (QAbstractButton* b : box->buttons()) answers << b->text();
            box->buttons().front()->click();
        });
    };
    look();
    ui.message(first.toStdString() + "\r\n охладить продукт за 24 ч.", "Заголовок", MsgIcon::None, MsgButtons::Ok);
    EXPECT_GE(labelWidth, needed);
    look();
    ui.message("Длина", kInputErrorTitle, MsgIcon::Critical, MsgButtons::YesNoCancel);
    EXPECT_GE(boxWidth, titleNeeds);
    answers.sort();
    EXPECT_EQ(answers, (QStringList{QStringLiteral("&Да"), QStringLiteral("&Нет"), QStringLiteral("&Отмена")}));
}

}  // namespace
}  // namespace coldroom
