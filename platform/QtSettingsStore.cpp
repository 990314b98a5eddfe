#include "QtSettingsStore.h"

#include <QSettings>

#include "Interaction.h"
#include "RoutineError.h"

namespace brenvik {

std::string QtSettingsStore::readSetting(const std::string& section, const std::string& key,
                                         const std::string& defaultText) {
    QSettings settings(QString::fromLatin1(kAppTitle), QString::fromLatin1(kAppTitle));
    settings.beginGroup(QString::fromStdString(section));
    const QVariant value = settings.value(QString::fromStdString(key));
    return value.isValid() ? value.toString().toStdString() : defaultText;
}

void QtSettingsStore::writeSetting(const std::string& section, const std::string& key,
                                   const std::string& text) {
    QSettings settings(QString::fromLatin1(kAppTitle), QString::fromLatin1(kAppTitle));
    settings.beginGroup(QString::fromStdString(section));
    settings.setValue(QString::fromStdString(key), QString::fromStdString(text));
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw RoutineError("cannot write the setting " + section + "/" + key + " into " +
                           settings.fileName().toStdString());
}

}  // namespace brenvik
