// Linux: the temporary folder is shared by every user, so the cache file is never followed
// through a link and never written when someone else owns it.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "base64.h"
#include "platform.h"

namespace glyphsnap {
namespace {

constexpr std::string_view kCacheFileName = "vorlin_ocr_edit_cache.png";
constexpr std::string_view kFallbackPrefix = "vorlin_ocr_edit_";

std::string TemporaryFolder() {
    const char* configured = std::getenv("TMPDIR");
    std::string folder = (configured != nullptr && configured[0] == '/') ? configured : "/tmp";
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::uint64_t TickCount() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}

// Removes our own old cache file. A link, a file of another user or anything that is not a
// plain file is left alone and counts as a file that cannot be removed.
bool RemoveOldCacheFile(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        return errno == ENOENT;
    }
    if (!S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
        return false;
    }
    return unlink(path.c_str()) == 0;
}

UniqueFile CreateExclusively(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return nullptr;
    }
    UniqueFile stream(fdopen(fd, "wb"));
    if (!stream) {
        close(fd);
    }
    return stream;
}

std::string FindPaintProgram() {
    if (const char* configured = std::getenv("GLYPHSNAP_PAINT");
        configured != nullptr && configured[0] != '\0') {
        return configured;
    }
    const char* searchPath = std::getenv("PATH");
    if (searchPath != nullptr) {
        for (const char* candidate : {"kolourpaint", "pinta", "mtpaint", "drawing", "gimp", "krita"}) {
            std::string_view folders(searchPath);
            while (!folders.empty()) {
                const auto colon = folders.find(':');
                const std::filesystem::path program =
                    std::filesystem::path(std::string(folders.substr(0, colon))) / candidate;
                if (access(program.c_str(), X_OK) == 0) {
                    return program.string();
                }
                folders = colon == std::string_view::npos ? std::string_view{}
                                                          : folders.substr(colon + 1);
            }
        }
    }
    return "xdg-open";
}

// In the forked child: only async-signal-safe calls until exec.
[[noreturn]] void ExecDetached(const char* program, char* const argv[]) {
    setsid();
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
    }
    const long maxFd = sysconf(_SC_OPEN_MAX);
    for (long fd = 3; fd < (maxFd > 0 ? maxFd : 1024); ++fd) {
        close(static_cast<int>(fd));
    }
    execvp(program, argv);
    _exit(127);
}

}  // namespace

void InitialiseProcess() {
    // A caller that closed its end of the reply pipe must not end Glyphsnap: write failures are
    // ignored like any other stream error.
    signal(SIGPIPE, SIG_IGN);
}

std::vector<std::uint8_t> DecodeImageText(std::string_view text) {
    return DecodeBase64(text).value_or(std::vector<std::uint8_t>{});
}

std::optional<EditImageFile> OpenEditImageFile() {
    const std::string folder = TemporaryFolder();
    const std::string cachePath = folder + std::string(kCacheFileName);
    const auto fallbackPath = [&] {
        return folder + std::string(kFallbackPrefix) + std::to_string(TickCount()) + ".png";
    };

    std::string path = RemoveOldCacheFile(cachePath) ? cachePath : fallbackPath();
    UniqueFile stream = CreateExclusively(path);
    if (!stream && errno == EEXIST && path == cachePath) {
        // Someone put a file under the cache name since it was removed.
        path = fallbackPath();
        stream = CreateExclusively(path);
    }
    if (!stream) {
        return std::nullopt;
    }
    return EditImageFile{std::move(path), std::move(stream)};
}

void StartPaintProgram(const NativePath& path) {
    std::string program = FindPaintProgram();
    std::array<char*, 3> argv{program.data(), const_cast<char*>(path.c_str()), nullptr};

    // Two forks: the paint program is adopted by init, so Glyphsnap never waits for it and never
    // leaves a zombie behind.
    const pid_t child = fork();
    if (child == 0) {
        if (fork() == 0) {
            ExecDetached(program.c_str(), argv.data());
        }
        _exit(0);
    }
    if (child > 0) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

}  // namespace glyphsnap
