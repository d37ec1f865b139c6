#include "platform/qt/ini_settings.h"

#include <QDir>
#include <QSettings>

namespace platform::qt {

QString IniSettingsStore::FilePath(const std::string& appName) {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + "/.config";
    return base + "/Orvella/" + QString::fromStdString(appName) + ".ini";
}

std::optional<std::string> IniSettingsStore::GetSetting(const std::string& appName,
                                                        const std::string& section,
                                                        const std::string& key) {
    QSettings settings(FilePath(appName), QSettings::IniFormat);
    const QString name = QString::fromStdString(section) + "/" + QString::fromStdString(key);
    const QVariant value = settings.value(name);
    // A value the INI reader turned into a list (a text with commas written by hand) is no
    // text the front end stored; it reads as missing.
    if (!value.isValid() || value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString().toStdString();
}

void IniSettingsStore::SaveSetting(const std::string& appName, const std::string& section,
                                   const std::string& key, const std::string& value) {
    QSettings settings(FilePath(appName), QSettings::IniFormat);
    settings.setValue(QString::fromStdString(section) + "/" + QString::fromStdString(key),
                      QString::fromStdString(value));
    settings.sync();
}

}  // namespace platform::qt
