#pragma once
// The windows' designs are given in twips and in colours written &H00BBGGRR; these helpers turn
// them into pixels, QColors and fonts so every window places its controls the same way.
#include <QColor>
#include <QFont>
#include <QSize>
#include <cstdint>

class QWidget;

namespace brenvik {

// 15 twips make one pixel at 96 dpi; Qt scales pixels itself on high-dpi screens.
int twipsToPixels(int twips);
QSize twipsSize(int width, int height);

// A colour written &H00BBGGRR.
QColor bgrColor(uint32_t bgr);

// The designs name MS Sans Serif (and Courier for fixed-pitch text); any sans-serif (fixed-pitch)
// face of the same size stands in for it.
QFont sansFont(qreal pointSize, bool bold = false);
QFont fixedFont(qreal pointSize);

// Places a control at its design position (twips, inside its owner's client area).
void placeTwips(QWidget* widget, int left, int top, int width, int height);

// Fills the widget's background with a plain colour; optionally sets its text colour too.
void paintBackground(QWidget* widget, const QColor& background);
void paintText(QWidget* widget, const QColor& text);

// A toolbar keeps the system's own colours, not those of the window it lies on, so its captions
// read as the desktop's theme draws them (dark text on a window's dark background would not).
void paintSystemColours(QWidget* toolbar);

// The system colour for window backgrounds, which the designs use as label text colour
// ("white by default").
QColor systemWindowColour();

}  // namespace brenvik
