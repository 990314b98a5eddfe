#pragma once
// Where the program's windows lie: at the first start the two converter windows are arranged so
// that each is whole inside the main window, and from then on every window is put back where the
// user left it. The places are kept in the settings store's section "Windows", apart from the
// preferences, when the program ends.
#include <QRect>
#include <QSize>
#include <optional>
#include <string>
#include <utility>

class QWidget;

namespace brenvik {

class SettingsStore;

// The two converter windows' frames at the size they need, inside an area of the given size:
// stacked, the Repeater-to-wave window above, when the area is tall enough for both; side by
// side when it is wide enough; otherwise
// from opposite corners, overlapping, the Repeater-to-wave window at the top left. A window
// larger than the area is cut to it.
std::pair<QRect, QRect> arrangeConverters(QSize area, QSize repeaterToWave, QSize waveToRepeater);

// A child window's place as the store keeps it, "x y width height", and back (nothing from a
// text that is not one).
std::string placeText(const QRect& place);
std::optional<QRect> placeFromText(const std::string& text);

// The main window's place and state (maximised or not), read back before it is shown.
void keepTopLevelPlace(SettingsStore& store, const char* key, const QWidget& window);
bool restoreTopLevelPlace(SettingsStore& store, const char* key, QWidget& window);

inline constexpr const char* kWindowPlaces = "Windows";

}  // namespace brenvik
