#include "platform/qt/ini_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace platform::qt {
namespace {

// Only a regular file, or none yet, is a settings file: QSettings would wait for good in the
// open of a FIFO at the name. Anything else there (a FIFO, a folder, a device) reads as a
// missing file, every value its default, and is never written.
bool IsSettingsFile(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

}  // namespace

QString IniSettingsStore::FilePath(const std::string& appName) {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + "/.config";
    return base + "/Orvella/" + QString::fromStdString(appName) + ".ini";
}

std::optional<std::string> IniSettingsStore::GetSetting(const std::string& appName,
                                                        const std::string& section,
                                                        const std::string& key) {
    const QString path = FilePath(appName);
    if (!IsSettingsFile(path)) return std::nullopt;
    QSettings settings(path, QSettings::IniFormat);
    const QString name = QString::fromStdString(section) + "/" + QString::fromStdString(key);
    const QVariant value = settings.value(name);
    // A value the INI reader turned into a list (a text with commas written by hand) is no
    // text the front end stored; it reads as missing.
    if (!value.isValid() || value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString().toStdString();
}

void IniSettingsStore::SaveSetting(const std::string& appName, const std::string& section,
                                   const std::string& key, const std::string& value) {
    const QString path = FilePath(appName);
    if (!IsSettingsFile(path)) return;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(QString::fromStdString(section) + "/" + QString::fromStdString(key),
                      QString::fromStdString(value));
    settings.sync();
}

}  // namespace platform::qt
