// The built program, started with pipes on standard input and output, spoken to in frames.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glyphsnap::blackbox {
class ChildProcess;
}

namespace glyphsnap::testing {

struct Launch {
    std::vector<std::string> launcher;  // a command that runs the program, such as a checker
    bool pipeErrors = false;            // standard error into a pipe read by ErrorOutput
};

class GlyphsnapProcess {
  public:
    // Starts the program with the test's environment, changed by `environment`: a value sets a
    // variable, an empty value removes it.
    explicit GlyphsnapProcess(const std::map<std::string, std::string>& environment,
                              const Launch& launch = {});
    ~GlyphsnapProcess();
    GlyphsnapProcess(const GlyphsnapProcess&) = delete;
    GlyphsnapProcess& operator=(const GlyphsnapProcess&) = delete;

    void Send(const std::string& payload);
    // The next reply's payload, or nothing when the program closed its output or sent nothing
    // within `seconds`.
    std::optional<std::string> Receive(int seconds = 120);
    // Closes the input and returns the exit code.
    int Finish();
    // What the program wrote to its piped standard error, once it has ended.
    std::string ErrorOutput();

  private:
    std::unique_ptr<blackbox::ChildProcess> process_;
};

// The request for text recognition of `image` (Base64 text).
std::string RecognitionRequest(const std::string& image);

}  // namespace glyphsnap::testing
