// The built program, started with pipes on standard input and output, spoken to in frames.
#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>

namespace glyphsnap::testing {

class GlyphsnapProcess {
  public:
    // Starts the program with the test's environment, changed by `environment`: a value sets a
    // variable, an empty value removes it.
    explicit GlyphsnapProcess(const std::map<std::string, std::string>& environment);
    ~GlyphsnapProcess();
    GlyphsnapProcess(const GlyphsnapProcess&) = delete;
    GlyphsnapProcess& operator=(const GlyphsnapProcess&) = delete;

    void Send(const std::string& payload);
    // The next reply's payload, or nothing when the program closed its output or sent nothing
    // within `seconds`.
    std::optional<std::string> Receive(int seconds = 120);
    // Closes the input and returns the exit code.
    int Finish();

  private:
    bool ReadExactly(char* buffer, std::size_t size, int seconds);

    pid_t child_ = -1;
    int input_ = -1;
    int output_ = -1;
};

// The request for text recognition of `image` (Base64 text).
std::string RecognitionRequest(const std::string& image);

}  // namespace glyphsnap::testing
