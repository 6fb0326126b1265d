#include "linux/system/QSettingsStore.h"

#include "linux/system/IniText.h"
#include "linux/system/OwnerOnlyFile.h"
#include "platform/RuntimeError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <sys/stat.h>
#include <utility>

namespace palisade {

namespace {

const char* const FileStem = "Palisade Software";

// Restricts the permissions of everything created while it lives (the files, their temporary
// save files and folders) to the owner, so the password is never readable by others, not even
// for a moment. The program has one thread, so changing the process umask is safe.
class OwnerOnlyUmask {
public:
    OwnerOnlyUmask() : previous_(::umask(077)) {}
    OwnerOnlyUmask(const OwnerOnlyUmask&) = delete;
    OwnerOnlyUmask& operator=(const OwnerOnlyUmask&) = delete;
    ~OwnerOnlyUmask() { ::umask(previous_); }

private:
    mode_t previous_;
};

QString Text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string BytesOf(const QString& name) {
    const QByteArray bytes = name.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string Decode(const QVariant& value) {
    const QByteArray bytes = value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                             : value.typeId() == QMetaType::QStringList
                                 ? value.toStringList().join(QStringLiteral(", ")).toUtf8()
                                 : value.toString().toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// A section name made fit for a file name: every byte but letters, digits, spaces, '-' and '_'
// written as %XX, so no two sections share a file and none reaches outside the folder.
std::string EscapeForFileName(const std::string& name) {
    static const char hex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || byte == ' ' || byte == '-' || byte == '_') {
            escaped += c;
        } else {
            escaped += '%';
            escaped += hex[byte >> 4];
            escaped += hex[byte & 15];
        }
    }
    return escaped;
}

std::unique_ptr<QSettings> OpenIni(const std::string& path) {
    // A settings object made from a file name reads that file only; turning fallbacks off as
    // well keeps it so should it ever be made from a scope instead.
    auto settings = std::make_unique<QSettings>(Text(path), QSettings::IniFormat);
    settings->setFallbacksEnabled(false);
    return settings;
}

// Where a key of a section sits in the file: like the parser, a section holding '/' is a
// section and a path of sub-keys.
std::pair<std::string, std::string> PlaceOf(const std::string& section, const std::string& key) {
    const std::string path = section.empty() ? key : section + "/" + key;
    const auto slash = path.find('/');
    if (slash == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

// Every value the parser can make out of the file; lines it cannot read are left out.
IniSections ReadableValues(const std::string& path) {
    IniSections sections;
    const auto settings = OpenIni(path);
    for (const QString& name : settings->allKeys()) {
        const auto [section, key] = PlaceOf(std::string(), BytesOf(name));
        sections[section][key] = Decode(settings->value(name));
    }
    return sections;
}

} // namespace

QSettingsStore::QSettingsStore()
    : QSettingsStore(
          QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
              .toStdString()) {}

QSettingsStore::QSettingsStore(std::string configFolder, Syscalls& sys)
    : configFolder_(std::move(configFolder)), sys_(sys) {}

QSettingsStore::~QSettingsStore() = default;

std::string QSettingsStore::iniPath(const std::string& application) const {
    return configFolder_ + "/" + application + "/" + FileStem + ".ini";
}

std::string QSettingsStore::listPath(const std::string& application,
                                     const std::string& section) const {
    return configFolder_ + "/" + application + "/" + EscapeForFileName(section) + "." + SiteListKey;
}

std::string QSettingsStore::read(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& defaultValue) {
    if (key == SiteListKey) {
        const std::string path = listPath(application, section);
        try {
            if (auto list = OwnerOnlyFile(sys_, path, StoredListLimit).read()) {
                unreadableLists_.erase(path);
                return *list;
            }
        } catch (const RuntimeError& e) {
            unreadableLists_[path] = e.what();
            return defaultValue; // reading never fails
        }
        // No list file yet: the list may still be in the settings file.
    }
    try {
        // The parser opens the file itself, and would wait on a pipe or read a device to its
        // end: it is handed the file only once it is known to be a regular one of bounded size.
        if (!OwnerOnlyFile(sys_, iniPath(application), SettingsFileLimit).read())
            return defaultValue;
        const auto settings = OpenIni(iniPath(application));
        settings->beginGroup(Text(section));
        const QString name = Text(key);
        if (!settings->contains(name))
            return defaultValue;
        return Decode(settings->value(name));
    } catch (...) {
        return defaultValue; // reading never fails
    }
}

void QSettingsStore::write(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& value) {
    const OwnerOnlyUmask ownerOnly;
    if (key == SiteListKey) {
        writeList(application, section, value);
        return;
    }
    makeFolder(application);
    const OwnerOnlyFile ini(sys_, iniPath(application), SettingsFileLimit);
    // A file that is there but cannot be read is never written over: its values would be lost.
    IniSections sections = ini.read() ? ReadableValues(ini.path()) : IniSections();
    moveListsOut(sections, application);
    const auto [where, name] = PlaceOf(section, key);
    sections[where][name] = value;
    ini.replace(FormatIni(sections));
}

void QSettingsStore::moveListsOut(IniSections& sections, const std::string& application) {
    for (auto& [section, values] : sections) {
        const auto found = values.find(SiteListKey);
        if (found == values.end())
            continue;
        try {
            const OwnerOnlyFile list(sys_, listPath(application, section), StoredListLimit);
            // A list file already there was written later than the copy in the settings file.
            if (!list.exists())
                list.replace(found->second);
            values.erase(found);
        } catch (const RuntimeError&) {
            // Left where it is, it is still read; the move is tried again at the next write.
        }
    }
}

void QSettingsStore::writeList(const std::string& application, const std::string& section,
                               const std::string& value) {
    const OwnerOnlyFile list(sys_, listPath(application, section), StoredListLimit);
    if (const auto failed = unreadableLists_.find(list.path()); failed != unreadableLists_.end())
        throw RuntimeError(failed->second); // the list on disk was never read: keep it
    makeFolder(application);
    list.replace(value);

    // A copy an earlier version kept in the settings file is stale now. Dropping it is only
    // tidying: the list file is what a read finds first.
    try {
        const OwnerOnlyFile ini(sys_, iniPath(application), SettingsFileLimit);
        if (!ini.read())
            return;
        IniSections sections = ReadableValues(ini.path());
        const auto [where, name] = PlaceOf(section, SiteListKey);
        if (sections[where].erase(name) != 0)
            ini.replace(FormatIni(sections));
    } catch (const RuntimeError&) {
    }
}

void QSettingsStore::makeFolder(const std::string& application) {
    const std::string folder = configFolder_ + "/" + application;
    if (!QDir().mkpath(Text(folder)))
        throw RuntimeError("Path/File access error");
}

} // namespace palisade
