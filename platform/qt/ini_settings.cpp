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

// Values are bytes (a remembered style file is named as the folder lists it). One that is not
// UTF-8 cannot be kept as text: the INI writer puts U+FFFD for what it cannot encode, and the
// next run would look for another name. Such a value is kept as a byte array, which the file
// holds as "@ByteArray(...)" with escapes and which reads back byte for byte; every UTF-8 value
// is kept as text, as it always was, so files of earlier runs and later ones read alike.
QVariant StoredForm(const std::string& value) {
    const QString text = QString::fromStdString(value);
    if (text.toStdString() == value) return text;
    return QByteArray(value.data(), static_cast<qsizetype>(value.size()));
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
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
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
                      StoredForm(value));
    settings.sync();
}

}  // namespace platform::qt
