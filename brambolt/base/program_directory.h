// The long-form path of the folder that holds the running executable, without a trailing
// backslash (at most 260 characters). Recorded once at start-up; empty until then, and empty
// when the executable's path could not be turned into its long form.
#pragma once

#include <string>

namespace brambolt {

const std::wstring& ProgramDirectory();

// Start-up only: GetModuleFileNameW, GetLongPathNameW, then the file name removed. Failures leave
// the directory empty.
void RecordProgramDirectory();

}  // namespace brambolt
