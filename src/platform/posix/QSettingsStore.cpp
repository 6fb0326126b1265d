#include "platform/posix/QSettingsStore.h"

#include "platform/RuntimeError.h"

#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <sys/stat.h>

namespace palisade {

namespace {

const char* const FileStem = "Palisade Software";

// Restricts the permissions of everything created while it lives (the settings file, its
// temporary save file and folders) to the owner, so the password is never readable by others,
// not even for a moment. The program has one thread, so changing the process umask is safe.
class OwnerOnlyUmask {
public:
    OwnerOnlyUmask() : previous_(::umask(077)) {}
    OwnerOnlyUmask(const OwnerOnlyUmask&) = delete;
    OwnerOnlyUmask& operator=(const OwnerOnlyUmask&) = delete;
    ~OwnerOnlyUmask() { ::umask(previous_); }

private:
    mode_t previous_;
};

QString text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QVariant encode(const std::string& value) {
    const QByteArray bytes(value.data(), static_cast<qsizetype>(value.size()));
    const QString asText = QString::fromUtf8(bytes);
    // Text only when it converts back to the very same bytes; everything else (invalid UTF-8,
    // 8-bit code-page text) keeps its exact bytes as a byte array.
    if (asText.toUtf8() == bytes)
        return asText;
    return bytes;
}

std::string decode(const QVariant& value) {
    const QByteArray bytes = value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                             : value.typeId() == QMetaType::QStringList
                                 ? value.toStringList().join(QStringLiteral(", ")).toUtf8()
                                 : value.toString().toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string describe(QSettings::Status status) {
    // A file that cannot be written is by far the common case.
    return status == QSettings::FormatError ? "Path/File access error" : "Permission denied";
}

} // namespace

QSettingsStore::QSettingsStore() = default;

QSettingsStore::QSettingsStore(std::string configFolder) : configFolder_(std::move(configFolder)) {}

QSettingsStore::~QSettingsStore() = default;

std::unique_ptr<QSettings> QSettingsStore::open(const std::string& application) const {
    if (configFolder_) {
        const QString file = text(*configFolder_) + QLatin1Char('/') + text(application) +
                             QLatin1Char('/') + QLatin1String(FileStem) + QLatin1String(".ini");
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       text(application), QLatin1String(FileStem));
}

std::string QSettingsStore::read(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& defaultValue) {
    try {
        const auto settings = open(application);
        settings->beginGroup(text(section));
        const QString name = text(key);
        if (!settings->contains(name))
            return defaultValue;
        return decode(settings->value(name));
    } catch (...) {
        return defaultValue; // reading never fails
    }
}

void QSettingsStore::write(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& value) {
    const OwnerOnlyUmask ownerOnly;
    const auto settings = open(application);
    if (settings->status() == QSettings::FormatError)
        throw RuntimeError(describe(QSettings::FormatError)); // never overwrite an unreadable file
    settings->beginGroup(text(section));
    settings->setValue(text(key), encode(value));
    settings->endGroup();
    settings->sync();
    if (settings->status() != QSettings::NoError)
        throw RuntimeError(describe(settings->status()));
    // A file made by an earlier, less careful version may still be wider.
    const QByteArray file = QFile::encodeName(settings->fileName());
    if (::chmod(file.constData(), S_IRUSR | S_IWUSR) != 0)
        throw RuntimeError("Permission denied");
}

} // namespace palisade
