#pragma once
// What the window tests share: Qt Widgets and Qt Test, driving a real modal dialog from a
// zero-delay timer once its event loop runs, and widgets found by their object names.
#include <QTest>
#include <QtWidgets>

namespace brenvik::test {

inline void whenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] { act(QApplication::activeModalWidget()); });
}

template <typename T>
T* child(const QObject* parent, const char* name) {
    if (T* found = parent->findChild<T*>(QString::fromLatin1(name))) return found;
    qFatal("no child named %s", name);
}

}  // namespace brenvik::test
