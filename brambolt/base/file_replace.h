// Whole-file saves that a crash cannot tear: the new content goes to a temporary file beside the
// target, reaches the disk, and then takes the target's place in one move. Either the old file or
// the new one is there afterwards, whole.
//
// The temporary file gets a fresh, unpredictable name and is created new, never opened where a
// file or a link already stands, so no link planted beside the target can steer the write.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "brambolt/base/file_operations.h"

namespace brambolt {

// Replaces target with exactly these bytes. Fails, leaving target as it was and no temporary file
// behind, when the target is held open by anyone (it is probed with an exclusive open, as a save
// that creates the file without sharing would be refused), when the temporary path would not fit in
// MAX_PATH, or when any step of writing fails.
bool ReplaceFileContents(const std::wstring& target, std::span<const std::uint8_t> bytes,
                         FileOperations& operations = SystemFileOperations());

}  // namespace brambolt
