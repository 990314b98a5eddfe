#include "WindowPlaces.h"

#include <QByteArray>
#include <QWidget>
#include <algorithm>
#include <sstream>

#include "SettingsStore.h"

namespace brenvik {

std::pair<QRect, QRect> arrangeConverters(QSize area, QSize repeaterToWave, QSize waveToRepeater) {
    QRect top({0, 0}, repeaterToWave.boundedTo(area));
    QRect other({0, 0}, waveToRepeater.boundedTo(area));
    if (top.height() + other.height() <= area.height()) {
        other.moveTop(top.bottom() + 1);
    } else if (top.width() + other.width() <= area.width()) {
        other.moveLeft(top.right() + 1);
    } else {
        other.moveBottomRight({area.width() - 1, area.height() - 1});
    }
    return {top, other};
}

std::string placeText(const QRect& place) {
    std::ostringstream out;
    out << place.x() << ' ' << place.y() << ' ' << place.width() << ' ' << place.height();
    return out.str();
}

std::optional<QRect> placeFromText(const std::string& text) {
    std::istringstream in(text);
    int x = 0, y = 0, width = 0, height = 0;
    if (!(in >> x >> y >> width >> height) || !(in >> std::ws).eof() || width <= 0 || height <= 0)
        return std::nullopt;
    return QRect(x, y, width, height);
}

void keepTopLevelPlace(SettingsStore& store, const char* key, const QWidget& window) {
    store.writeSetting(kWindowPlaces, key, window.saveGeometry().toBase64().toStdString());
}

bool restoreTopLevelPlace(SettingsStore& store, const char* key, QWidget& window) {
    const std::string kept = store.readSetting(kWindowPlaces, key, {});
    return !kept.empty() &&
           window.restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(kept)));
}

}  // namespace brenvik
