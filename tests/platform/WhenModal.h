#pragma once
// Drives a real modal dialog from a test: the action runs from a zero-delay timer once the
// dialog's own event loop is running, and gets the active modal widget.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace brenvik::test {

inline void whenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action = std::move(action)] { action(QApplication::activeModalWidget()); });
}

}  // namespace brenvik::test
