#include "brambolt/folders/add_decision.h"

#include "brambolt/folders/ascii_case.h"

namespace brambolt {
namespace {

constexpr std::u16string_view kWindowsFolder = u"\\WINDOWS";

bool NamesWindowsFolder(std::u16string_view upperPath) noexcept {
    return upperPath.find(u"\\WINDOWS\\") != std::u16string_view::npos ||
           upperPath.ends_with(kWindowsFolder);
}

}  // namespace

AddVerdict JudgeEntryCount(std::size_t entryCount) noexcept {
    return entryCount >= kMostEntriesForAdd ? AddVerdict::kRefuseTooManyEntries
                                            : AddVerdict::kAccept;
}

AddVerdict JudgeChosenFolder(std::u16string_view upperPath,
                             std::u16string_view programDirectory) noexcept {
    if (NamesWindowsFolder(upperPath)) {
        return AddVerdict::kRefuseWindowsFolder;
    }
    if (EqualIgnoringAsciiCase(upperPath, programDirectory)) {
        return AddVerdict::kRefuseProgramFolder;
    }
    if (upperPath.size() <= 3) {
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
