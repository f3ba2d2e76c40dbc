#include "brambolt/folders/add_decision.h"

#include <vector>

#include "brambolt/base/windows_space.h"
#include "brambolt/folders/ascii_case.h"

namespace brambolt {
namespace {

constexpr std::u16string_view kWindowsFolder = u"\\WINDOWS";

bool NamesWindowsFolder(std::u16string_view upperPath) noexcept {
    return upperPath.find(u"\\WINDOWS\\") != std::u16string_view::npos ||
           upperPath.ends_with(kWindowsFolder);
}

bool IsTrailingDotOrSpace(char16_t unit) noexcept {
    return unit == u'.' || unit == u' ';
}

}  // namespace

std::u16string_view StoredFolderPath(std::u16string_view upperPath) noexcept {
    return TrimWindowsSpace(upperPath);
}

std::u16string NamedFolder(std::u16string_view storedPath) {
    std::vector<std::u16string_view> components;
    std::size_t leadingSeparators = 0;
    std::size_t position = 0;
    while (position <= storedPath.size()) {
        std::size_t end = storedPath.find_first_of(u"\\/", position);
        if (end == std::u16string_view::npos) {
            end = storedPath.size();
        }
        std::u16string_view component = storedPath.substr(position, end - position);
        position = end + 1;
        if (component == u"..") {
            if (components.size() > 1) {
                components.pop_back();
            }
            continue;
        }
        while (!component.empty() && IsTrailingDotOrSpace(component.back())) {
            component.remove_suffix(1);
        }
        if (!component.empty()) {
            components.push_back(component);
        } else if (components.empty() && end < storedPath.size()) {
            ++leadingSeparators;  // a UNC or rooted path keeps its leading backslashes
        }
    }
    std::u16string named(leadingSeparators, u'\\');
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (i > 0) {
            named.push_back(u'\\');
        }
        named.append(components[i]);
    }
    return named;
}

AddVerdict JudgeEntryCount(std::size_t entryCount) noexcept {
    return entryCount >= kMostEntriesForAdd ? AddVerdict::kRefuseTooManyEntries
                                            : AddVerdict::kAccept;
}

AddVerdict JudgeChosenFolder(std::u16string_view upperPath, std::u16string_view programDirectory) {
    // Judged as the driver will be given it: the file's reader trims the line, and Windows drops
    // trailing dots and spaces, so "C:\WINDOWS." would otherwise pass and then name C:\WINDOWS.
    const std::u16string named = ToAsciiUpper(NamedFolder(StoredFolderPath(upperPath)));
    if (NamesWindowsFolder(named)) {
        return AddVerdict::kRefuseWindowsFolder;
    }
    if (EqualIgnoringAsciiCase(named, NamedFolder(programDirectory))) {
        return AddVerdict::kRefuseProgramFolder;
    }
    if (named.size() <= 3) {
        return AddVerdict::kIgnore;
    }
    return AddVerdict::kAccept;
}

std::u16string_view RefusalText(AddVerdict verdict) noexcept {
    switch (verdict) {
        case AddVerdict::kRefuseTooManyEntries:
            return u"不允许超过10条记录";
        case AddVerdict::kRefuseWindowsFolder:
            return u"为保证系统稳定，不能包括WINDOWS文件夹";
        case AddVerdict::kRefuseProgramFolder:
            return u"为保证系统稳定，不能包括软件自身目录";
        case AddVerdict::kIgnore:
        case AddVerdict::kAccept:
            break;
    }
    return {};
}

}  // namespace brambolt
