#include "ui/qt_activation.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace coldroom {

namespace {

QPointer<QWidget> g_lastProgramWindow;
std::vector<ActivationWatcher*> g_watchers;

// Dialogs that belong to a command, not windows of the program of their own.
bool isTransient(const QWidget* w) {
    static const char* const kinds[] = {"QMessageBox",  "QFileDialog",     "QColorDialog",
                                        "QInputDialog", "QProgressDialog", "QFontDialog",
                                        "QAbstractPrintDialog", "QPageSetupDialog"};
    if (w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip) return true;
    for (const char* kind : kinds)
        if (w->inherits(kind)) return true;
    return false;
}

class ApplicationObserver : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow()) ActivationWatcher::windowActivated(w);
        }
        return false;
    }
};

void ensureObserver() {
    static ApplicationObserver* observer = nullptr;
    if (observer || !qApp) return;
    observer = new ApplicationObserver;
    observer->setParent(qApp);
    qApp->installEventFilter(observer);
}

}  // namespace

ActivationWatcher::ActivationWatcher(QWidget* window, std::function<void()> onActivate)
    : QObject(window), window_(window), onActivate_(std::move(onActivate)) {
    ensureObserver();
    g_watchers.push_back(this);
}

ActivationWatcher::~ActivationWatcher() { std::erase(g_watchers, this); }

void ActivationWatcher::windowActivated(QWidget* window) {
    if (isTransient(window)) return;
    const bool changed = g_lastProgramWindow != window;
    g_lastProgramWindow = window;
    if (!changed) return;
    for (ActivationWatcher* w : std::vector<ActivationWatcher*>(g_watchers))
        if (w->window_ == window && w->onActivate_) w->onActivate_();
}

}  // namespace coldroom
