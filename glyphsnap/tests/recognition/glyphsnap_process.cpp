#include "glyphsnap_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

namespace glyphsnap::testing {
namespace {

std::vector<std::string> ChangedEnvironment(const std::map<std::string, std::string>& changes) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable(*entry);
        const std::string name = variable.substr(0, variable.find('='));
        if (changes.find(name) == changes.end()) {
            variables.push_back(variable);
        }
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty()) {
            std::string variable = name;
            variable += '=';
            variable += value;
            variables.push_back(std::move(variable));
        }
    }
    return variables;
}

}  // namespace

GlyphsnapProcess::GlyphsnapProcess(const std::map<std::string, std::string>& environment) {
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create pipes");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);

    std::vector<std::string> variables = ChangedEnvironment(environment);
    std::vector<char*> envp;
    envp.reserve(variables.size() + 1);
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    std::string program = GLYPHSNAP_PROGRAM;
    char* argv[] = {program.data(), nullptr};
    const int spawned = posix_spawn(&child_, argv[0], &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    input_ = toChild[1];
    output_ = fromChild[0];
    if (spawned != 0) {
        child_ = -1;
        throw std::runtime_error("cannot start the program");
    }
    signal(SIGPIPE, SIG_IGN);  // a program that ended must fail the test, not end it
}

GlyphsnapProcess::~GlyphsnapProcess() {
    if (child_ > 0) {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
    if (input_ >= 0) {
        close(input_);
    }
    if (output_ >= 0) {
        close(output_);
    }
}

void GlyphsnapProcess::Send(const std::string& payload) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    std::string frame;
    for (int shift = 0; shift < 32; shift += 8) {
        frame += static_cast<char>((length >> shift) & 0xFF);
    }
    frame += payload;
    std::size_t written = 0;
    while (written < frame.size()) {
        const ssize_t n = write(input_, frame.data() + written, frame.size() - written);
        if (n <= 0) {
            throw std::runtime_error("the program does not take input");
        }
        written += static_cast<std::size_t>(n);
    }
}

bool GlyphsnapProcess::ReadExactly(char* buffer, std::size_t size, int seconds) {
    std::size_t done = 0;
    while (done < size) {
        pollfd ready{output_, POLLIN, 0};
        if (poll(&ready, 1, seconds * 1000) <= 0) {
            return false;
        }
        const ssize_t n = read(output_, buffer + done, size - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::string> GlyphsnapProcess::Receive(int seconds) {
    unsigned char prefix[4];
    if (!ReadExactly(reinterpret_cast<char*>(prefix), 4, seconds)) {
        return std::nullopt;
    }
    const std::uint32_t length = prefix[0] | (prefix[1] << 8) | (prefix[2] << 16) |
                                 (static_cast<std::uint32_t>(prefix[3]) << 24);
    std::string payload(length, '\0');
    if (!ReadExactly(payload.data(), length, seconds)) {
        return std::nullopt;
    }
    return payload;
}

int GlyphsnapProcess::Finish() {
    close(input_);
    input_ = -1;
    int status = 0;
    waitpid(child_, &status, 0);
    child_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string RecognitionRequest(const std::string& image) {
    return R"({"image":")" + image + R"("})";
}

}  // namespace glyphsnap::testing
