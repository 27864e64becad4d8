#include "ui/qt_activation.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace coldroom {

ActivationTracker::ActivationTracker(Report report, QObject* parent)
    : QObject(parent), report_(std::move(report)) {
    // Removed by Qt when the tracker is deleted.
    if (qApp) qApp->installEventFilter(this);
}

void ActivationTracker::track(WindowId id, QWidget* window) { windows_[id] = window; }

void ActivationTracker::expect(WindowId id) {
    auto it = windows_.find(id);
    // A window that is already active gets no activation to wait for.
    if (it != windows_.end() && it->second && it->second == QApplication::activeWindow()) return;
    expected_ = id;
}

std::optional<WindowId> ActivationTracker::idOf(const QWidget* window) const {
    for (const auto& [id, widget] : windows_)
        if (widget == window) return id;
    return std::nullopt;
}

bool ActivationTracker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::WindowActivate || !watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow()) return false;
    const std::optional<WindowId> id = idOf(window);
    if (!id) return false;
    if (expected_ && *expected_ != *id) {
        auto it = windows_.find(*expected_);
        const bool stillComing = it != windows_.end() && it->second && it->second->isVisible();
        if (stillComing) return false;
    }
    expected_.reset();
    if (report_) report_(*id);
    return false;
}

}  // namespace coldroom
