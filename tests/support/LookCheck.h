#pragma once
// One look check per window: how the window looks, as lines of text, against the copy kept in
// tests/looks/NAME.txt. A line per named widget gives its class, where the design puts it (not
// where a layout puts it), whether it shows, its colours, the font it asks for, and a hash of
// each icon and picture and of what the program paints itself. Text drawn in a font is left
// out, so the look does not hang on the fonts a machine has.
//
// After a change meant to show, BRENVIK_UPDATE_LOOKS=1 ctest keeps the new looks.
#include <QStringList>

class QWidget;

namespace brenvik::test {

QStringList lookOf(QWidget* window);

// The kept look of NAME; under BRENVIK_UPDATE_LOOKS=1 the given one is kept first.
QStringList keptLook(const QString& name, const QStringList& present);

}  // namespace brenvik::test

// Compares a window's look with the kept one, line by line.
#define BRENVIK_CHECK_LOOK(window, name)                           \
    do {                                                           \
        const QStringList present = brenvik::test::lookOf(window); \
        QCOMPARE(present, brenvik::test::keptLook(name, present)); \
    } while (false)
