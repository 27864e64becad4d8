#include "ui/qt_form_widgets.h"

#include <QDialog>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include <QEvent>
#include <QPointer>

namespace coldroom {

QLineEdit* NumberField(const char* name, int width) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setFixedWidth(width);
    return edit;
}

QLineEdit* ResultField(const char* name, int width) {
    auto* edit = NumberField(name, width);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);  // selectable for copying, skipped by Tab
    edit->setProperty("result", true);
    return edit;
}

QComboBox* ListField(const char* name, int minimumWidth) {
    auto* combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(name));
    combo->setMinimumWidth(minimumWidth);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(8);
    combo->setMaxVisibleItems(20);
    return combo;
}

QLabel* CaptionLabel(const QString& text, const char* name, bool wrap) {
    auto* label = new QLabel(text);
    if (name) label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(wrap);
    return label;
}

QLabel* UnitLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setProperty("unit", true);
    // Units are quieter than values; a palette does it without a style sheet's cost.
    QPalette palette = label->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::WindowText, palette.color(QPalette::Dark));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, palette.color(QPalette::Midlight));
    label->setPalette(palette);
    return label;
}

QLabel* ValueLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setProperty("value", true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QGroupBox* Frame(const QString& title, const char* name) {
    auto* box = new QGroupBox(title);
    if (name) box->setObjectName(QString::fromLatin1(name));
    return box;
}

namespace {

class EnabledFollower : public QObject {
public:
    EnabledFollower(QWidget* source, QWidget* follower) : QObject(follower), follower_(follower) {
        source->installEventFilter(this);
        follower->setEnabled(source->isEnabled());
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange && follower_)
            follower_->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return false;
    }

private:
    QPointer<QWidget> follower_;
};

}  // namespace

void FollowEnabled(QWidget* source, QWidget* follower) { new EnabledFollower(source, follower); }

}  // namespace coldroom

namespace coldroom {

QDialogButtonBox* DialogButtons(const QString& okCaption, const QString& cancelCaption, int minimumWidth) {
    auto* box = new QDialogButtonBox;
    const std::tuple<const char*, QString, QDialogButtonBox::ButtonRole> buttons[] = {
        {"OK_btn", okCaption, QDialogButtonBox::AcceptRole}, {"Cancel_btn", cancelCaption, QDialogButtonBox::RejectRole}};
    for (const auto& [name, caption, role] : buttons) {
        QPushButton* button = box->addButton(caption, role);
        button->setObjectName(QString::fromLatin1(name));
        button->setMinimumWidth(minimumWidth);
    }
    return box;  // shown in its dialog, the box makes its accept button the default one
}

// Caption, field and unit on one row of a grid; the unit follows the field's enabled state.
QLineEdit* AddNumberRow(QGridLayout* grid, int row, QLabel* caption, QLineEdit* field,
                        const QString& unit) {
    grid->addWidget(caption, row, 0, Qt::AlignVCenter);
    grid->addWidget(field, row, 1);
    if (!unit.isEmpty()) {
        auto* label = UnitLabel(unit);
        FollowEnabled(field, label);
        grid->addWidget(label, row, 2);
    }
    return field;
}

}  // namespace coldroom

namespace coldroom {

QRect FitFrame(const QRect& frame, const QRect& available) {
    QRect fitted(frame.topLeft(), frame.size().boundedTo(available.size()));
    fitted.moveLeft(std::clamp(fitted.left(), available.left(), available.right() + 1 - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), available.top(), available.bottom() + 1 - fitted.height()));
    return fitted;
}

void FitToScreen(QWidget& window, QMargins frame) {
    QWidget* anchor = window.parentWidget() ? window.parentWidget()->window() : &window;
    QScreen* screen = anchor->screen();
    if (!screen) return;
    if (frame.isNull()) {
        window.winId();  // the platform window, which knows its frame on most desktops
        if (QWindow* handle = window.windowHandle()) frame = handle->frameMargins();
    }
    if (frame.isNull() && !window.windowFlags().testFlag(Qt::FramelessWindowHint)) {
        // Some desktops tell the frame only once the window is up; a title bar about two
        // lines of text high and thin borders are a safe guess.
        const int title = std::max(window.style()->pixelMetric(QStyle::PM_TitleBarHeight),
                                   2 * window.fontMetrics().height());
        frame = QMargins(2, title, 2, 2);
    }
    const QRect available = screen->availableGeometry();
    // A place restored from the settings may be anything, up to the ends of int: brought
    // within reach of every screen first, it can be measured and moved without overflow.
    auto bounded = [](int v) { return std::clamp(v, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); };
    frame = QMargins(bounded(frame.left()), bounded(frame.top()), bounded(frame.right()), bounded(frame.bottom()));
    const QSize outer = window.size().grownBy(frame);
    const bool placed = window.testAttribute(Qt::WA_Moved);
    // A window nobody placed is put where the system likes; one that needs all of the
    // screen is better centred than left to a cascade that pushes it off the edge.
    QRect start(placed ? QPoint(bounded(window.x()), bounded(window.y())) : QPoint(), outer);
    if (!placed) start.moveCenter(available.center());
    const QRect fitted = FitFrame(start, available);
    const bool shrunk = fitted.size() != outer;
    if (shrunk) window.resize(fitted.size().shrunkBy(frame));
    // A dialog left unplaced is centred over its parent and kept on the screen by Qt itself.
    if (placed || (shrunk && !qobject_cast<QDialog*>(&window))) window.move(fitted.topLeft());
}

void BringToFront(QWidget& window) {
    // A minimised window shown again stays an icon in the task bar: it is restored first.
    if (window.isMinimized()) window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

QString TwoLineHead(const QString& head) {
    QString text = head;
    if (text.size() <= 14) return text;
    qsizetype best = -1;
    for (qsizetype i = text.indexOf(u' '); i >= 0; i = text.indexOf(u' ', i + 1))
        if (best < 0 || std::abs(i - text.size() / 2) < std::abs(best - text.size() / 2)) best = i;
    if (best > 0) text[best] = u'\n';
    return text;
}

QIcon PrinterIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 70), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10));  // paper going in
    p.setBrush(QColor(120, 130, 145));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 20, 16, 9));  // the printed sheet
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawLine(QPointF(11, 23.5), QPointF(21, 23.5));
    p.drawLine(QPointF(11, 26.5), QPointF(18, 26.5));
    p.end();
    return QIcon::fromTheme(QStringLiteral("document-print"), QIcon(pixmap));
}

}  // namespace coldroom
