// What the Add command does with the number of listed folders and the folder the user chose: refuse
// with one of three messages, drop the choice silently, or accept it. The entry count is judged
// before the folder browser opens, the chosen folder after it closes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brambolt {

enum class AddVerdict {
    kRefuseTooManyEntries,  // "不允许超过10条记录"
    kRefuseWindowsFolder,   // "为保证系统稳定，不能包括WINDOWS文件夹"
    kRefuseProgramFolder,   // "为保证系统稳定，不能包括软件自身目录"
    kIgnore,                // a cancelled browser, a drive root: no message
    kAccept,
};

inline constexpr std::size_t kMostEntriesForAdd = 10;

// kRefuseTooManyEntries with ten entries or more, else kAccept.
[[nodiscard]] AddVerdict JudgeEntryCount(std::size_t entryCount) noexcept;

// The chosen path after ToAsciiUpper as the list keeps it: trimmed of white space as the file's
// reader trims every line, so that the entry shown and saved is the one a later start reads back.
[[nodiscard]] std::u16string_view StoredFolderPath(std::u16string_view upperPath) noexcept;

// The folder that a stored path names once Windows resolves it: forward slashes as backslashes,
// trailing dots and spaces of every component removed (as Windows removes them when it opens a
// path, which also turns "." into nothing), ".." resolved, repeated and trailing backslashes
// dropped. "C:\" names "C:".
[[nodiscard]] std::u16string NamedFolder(std::u16string_view storedPath);

// The chosen path after ToAsciiUpper, judged as the folder it names once stored, read back and
// resolved (NamedFolder of StoredFolderPath): a WINDOWS folder or one below it is refused, then the
// program's own folder (resolved the same way, equal in any ASCII case; above or below it is fine),
// then paths of three characters or fewer are ignored.
[[nodiscard]] AddVerdict JudgeChosenFolder(std::u16string_view upperPath,
                                           std::u16string_view programDirectory);

// The warning of a refusal; empty for kIgnore and kAccept.
[[nodiscard]] std::u16string_view RefusalText(AddVerdict verdict) noexcept;

}  // namespace brambolt
