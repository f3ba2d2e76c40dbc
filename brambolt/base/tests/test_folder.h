// A fresh folder under the temporary folder for one test, removed with everything in it afterwards,
// and whole-file helpers for checking bytes on disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brambolt::testing {

class TestFolder {
  public:
    TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder();

    [[nodiscard]] const std::wstring& path() const noexcept { return path_; }
    [[nodiscard]] std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    // The names of the files in the folder, sorted.
    [[nodiscard]] std::vector<std::wstring> FileNames() const;

  private:
    std::wstring path_;
};

[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

}  // namespace brambolt::testing
