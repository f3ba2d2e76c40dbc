// A program under test, started with pipes on its standard input and output.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glyphsnap::blackbox {

enum class ErrorOutput {
    Inherited,  // the child writes to this process's standard error
    Piped,      // into a pipe that is only read by ReadErrorOutput
};

class ChildProcess {
  public:
    // Starts argv[0] (searched in PATH) with the environment changed by `extraEnvironment`:
    // "NAME=value" sets a variable, a plain "NAME" removes it.
    ChildProcess(const std::vector<std::string>& argv,
                 const std::vector<std::string>& extraEnvironment,
                 ErrorOutput errors = ErrorOutput::Inherited);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Writes all bytes to the child's input; false when the child closed it.
    bool Write(std::string_view bytes);
    void CloseInput();
    // Limits the child's address space, as a machine short of memory would.
    bool LimitAddressSpace(std::uint64_t bytes);

    // The next whole reply frame's payload, or nothing when the output ends or `limit` passes.
    std::optional<std::string> ReadReply(std::chrono::milliseconds limit);
    // The raw bytes of the next reply frame, length prefix included.
    std::optional<std::string> ReadFrameBytes(std::chrono::milliseconds limit);
    // The next line of output without its line end, or nothing when none arrives within `limit`.
    std::optional<std::string> ReadLine(std::chrono::milliseconds limit);
    // True when the output reaches its end within `limit` with no further bytes.
    bool OutputEnds(std::chrono::milliseconds limit);
    // The exit code (minus the signal number when a signal ended it), or nothing when the child
    // is still running after `limit`.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);
    // Everything the child wrote to a piped standard error, read until it ends or `limit` passes.
    std::string ReadErrorOutput(std::chrono::milliseconds limit);

  private:
    bool Fill(std::size_t wanted, std::chrono::steady_clock::time_point deadline);

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    int errors_ = -1;
    std::string buffered_;
    bool outputEnded_ = false;
    std::optional<int> exitCode_;
};

}  // namespace glyphsnap::blackbox
