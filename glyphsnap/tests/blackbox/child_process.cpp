#include "glyphsnap/tests/blackbox/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace glyphsnap::blackbox {
namespace {

void CloseFd(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& extraEnvironment, ErrorOutput errors) {
    int toChild[2];
    int fromChild[2];
    int errorsFromChild[2] = {-1, -1};
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0 ||
        (errors == ErrorOutput::Piped && pipe2(errorsFromChild, O_CLOEXEC) != 0)) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    if (errors == ErrorOutput::Piped) {
        posix_spawn_file_actions_adddup2(&actions, errorsFromChild[1], STDERR_FILENO);
    }

    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environment.emplace_back(*entry);
    }
    for (const std::string& change : extraEnvironment) {
        const std::string name = change.substr(0, change.find('='));
        std::erase_if(environment, [&](const std::string& entry) {
            return entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 &&
                   entry[name.size()] == '=';
        });
        if (change.find('=') != std::string::npos) {
            environment.push_back(change);
        }
    }
    std::vector<char*> envp;
    for (auto& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (auto& arg : args) {
        argp.push_back(arg.data());
    }
    argp.push_back(nullptr);

    const int spawned = posix_spawnp(&pid_, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    CloseFd(errorsFromChild[1]);
    input_ = toChild[1];
    output_ = fromChild[0];
    errors_ = errorsFromChild[0];
    if (spawned != 0) {
        CloseFd(input_);
        CloseFd(output_);
        CloseFd(errors_);
        throw std::runtime_error("cannot start " + argv.front());
    }
    signal(SIGPIPE, SIG_IGN);
}

ChildProcess::~ChildProcess() {
    CloseFd(input_);
    if (!exitCode_ && pid_ > 0) {
        if (!WaitForExit(std::chrono::seconds(10))) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    CloseFd(output_);
    CloseFd(errors_);
}

bool ChildProcess::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(input_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void ChildProcess::CloseInput() {
    CloseFd(input_);
}

bool ChildProcess::LimitAddressSpace(std::uint64_t bytes) {
    const rlimit limit{bytes, bytes};
    return prlimit(pid_, RLIMIT_AS, &limit, nullptr) == 0;
}

std::string ChildProcess::ReadErrorOutput(std::chrono::milliseconds limit) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (errors_ >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{errors_, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char chunk[4096];
        const ssize_t got = read(errors_, chunk, sizeof chunk);
        if (got <= 0) {
            break;
        }
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return text;
}

bool ChildProcess::Fill(std::size_t wanted, std::chrono::steady_clock::time_point deadline) {
    while (buffered_.size() < wanted && !outputEnded_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd ready{output_, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()));
        if (polled <= 0) {
            continue;
        }
        char chunk[65536];
        const ssize_t got = read(output_, chunk, sizeof chunk);
        if (got <= 0) {
            outputEnded_ = true;
            break;
        }
        buffered_.append(chunk, static_cast<std::size_t>(got));
    }
    return buffered_.size() >= wanted;
}

std::optional<std::string> ChildProcess::ReadFrameBytes(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    if (!Fill(4, deadline)) {
        return std::nullopt;
    }
    std::size_t length = 0;
    for (int i = 3; i >= 0; --i) {
        length = (length << 8) | static_cast<unsigned char>(buffered_[static_cast<std::size_t>(i)]);
    }
    if (!Fill(4 + length, deadline)) {
        return std::nullopt;
    }
    std::string frame = buffered_.substr(0, 4 + length);
    buffered_.erase(0, 4 + length);
    return frame;
}

std::optional<std::string> ChildProcess::ReadReply(std::chrono::milliseconds limit) {
    auto frame = ReadFrameBytes(limit);
    if (!frame) {
        return std::nullopt;
    }
    return frame->substr(4);
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::size_t end = buffered_.find('\n');
    while (end == std::string::npos && Fill(buffered_.size() + 1, deadline)) {
        end = buffered_.find('\n');
    }
    if (end == std::string::npos) {
        return std::nullopt;
    }
    std::string line = buffered_.substr(0, end);
    buffered_.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

bool ChildProcess::OutputEnds(std::chrono::milliseconds limit) {
    Fill(buffered_.size() + 1, std::chrono::steady_clock::now() + limit);
    return outputEnded_ && buffered_.empty();
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds limit) {
    if (exitCode_) {
        return exitCode_;
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            // A child ended by a signal reports the negated signal number.
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            return exitCode_;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace glyphsnap::blackbox
