// Steps of a person at the desktop program, offscreen: events let through, keys typed into a
// field, and the message boxes that come up answered (their texts kept, and what the windows
// showed at that moment looked at).
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace coldroom::test {

inline void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Clicks the button of caption `answer` (its Alt letter aside), else the first, in every
// message box that comes up; `seen` looks at each box before it is answered.
struct Answerer {
    QString answer;
    QStringList texts;
    std::function<void(const QMessageBox&)> seen;
    QTimer timer;
    explicit Answerer(QString caption = QStringLiteral("Нет")) : answer(std::move(caption)) {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible()) continue;
                texts << box->text();
                if (seen) seen(*box);
                QAbstractButton* chosen = nullptr;
                for (QAbstractButton* b : box->buttons())
                    if (QString(b->text()).remove(u'&') == answer) chosen = b;
                chosen ? chosen->click() : box->buttons().first()->click();
            }
        });
        timer.start(20);
    }
};

// Keys into `field` over what it holds; with `enter`, Enter after them.
inline void Type(QLineEdit* field, const QString& text, bool enter) {
    field->window()->activateWindow();
    field->setFocus();
    field->selectAll();
    for (QChar c : text) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &key);
    }
    if (enter) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(field, &press);
    }
    Settle();
}

inline void Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    Settle();
}

}  // namespace coldroom::test
