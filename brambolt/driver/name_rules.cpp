#include "brambolt/driver/name_rules.h"

namespace brambolt {

namespace {
constexpr std::u16string_view kServicePrefix = u"TARNBRT_";
constexpr std::u16string_view kNoSid = u"NOSID";
constexpr std::u16string_view kNoSidFolder = u"\\System32\\Drivers\\DriverData\\Pondglass";
constexpr std::u16string_view kLockListFile = u"TARNLOCKLIST.INI";
constexpr std::u16string_view kCredentialFile = u"TARNLOCKLIST.DAT";

std::optional<std::u16string> Bounded(std::u16string path) {
    if (!FitsInMaxPath(path)) {
        return std::nullopt;
    }
    return path;
}
}  // namespace

bool FitsInMaxPath(std::u16string_view path) noexcept {
    return path.size() < kMaxPathChars;
}

std::u16string ServiceNameFor(std::optional<std::u16string_view> sid) {
    std::u16string name(kServicePrefix);
    name.append(sid.has_value() ? *sid : kNoSid);
    return name;
}

std::u16string DevicePathFor(std::optional<std::u16string_view> sid) {
    return u"\\\\.\\" + ServiceNameFor(sid);
}

std::optional<std::u16string> UserDataFolder(std::u16string_view localAppData,
                                             std::u16string_view sid) {
    std::u16string folder(localAppData);
    folder.append(u"\\");
    folder.append(ServiceNameFor(sid));
    return Bounded(std::move(folder));
}

std::optional<std::u16string> NoSidDataFolder(std::u16string_view windowsDirectory) {
    std::u16string folder(windowsDirectory);
    folder.append(kNoSidFolder);
    return Bounded(std::move(folder));
}

std::optional<std::u16string> LockListPathIn(std::u16string_view dataFolder) {
    std::u16string path(dataFolder);
    path.append(u"\\");
    path.append(kLockListFile);
    return Bounded(std::move(path));
}

std::optional<std::u16string> CredentialRecordPathBeside(std::u16string_view lockListPath) {
    const auto slash = lockListPath.find_last_of(u'\\');
    if (slash == std::u16string_view::npos) {
        return std::nullopt;
    }
    std::u16string path(lockListPath.substr(0, slash + 1));
    path.append(kCredentialFile);
    return Bounded(std::move(path));
}

}  // namespace brambolt
