#pragma once
// A menu as tests compare it: the items' object names, and their captions with shortcut
// ("-" for a separator, " off" behind a disabled item).
#include <QAction>
#include <QMenu>
#include <QStringList>
#include <utility>

namespace brenvik::test {

inline std::pair<QStringList, QStringList> menuItems(const QMenu* menu) {
    QStringList names, captions;
    for (QAction* a : menu->actions()) {
        names << a->objectName();
        captions << (a->isSeparator() ? QStringLiteral("-")
                                      : a->text() + " " + a->shortcut().toString() + (a->isEnabled() ? "" : " off"));
    }
    return {names, captions};
}

}  // namespace brenvik::test
