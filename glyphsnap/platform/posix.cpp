// Linux: the temporary folder is shared by every user, so the edit files live in a folder of the
// user's own (where only the user's own files can take a name), the cache file is never followed
// through a link and never written when someone else owns it.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>  // environ

#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "glyphsnap/platform/edit_file_name.h"
#include "glyphsnap/platform/platform.h"
#include "glyphsnap/text/base64.h"

namespace glyphsnap {
namespace {

std::string TemporaryFolder() {
    const char* configured = std::getenv("TMPDIR");
    std::string folder = (configured != nullptr && configured[0] == '/') ? configured : "/tmp";
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// A real folder (not a link) of this user that no one else can write into; `privateMode` asks for
// exactly 0700.
bool IsOwnFolder(const std::string& path, bool privateMode) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
        return false;
    }
    const auto mode = info.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO);
    return privateMode ? mode == S_IRWXU : (mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A private folder of this process's own, made once under a fresh name.
std::optional<std::string> FreshPrivateFolder(const std::string& temporary) {
    static std::mutex mutex;
    static std::optional<std::string> made;
    const std::scoped_lock lock(mutex);
    if (made && IsOwnFolder(*made, true)) {
        return made;
    }
    std::string pattern = temporary + "glyphsnap-" + std::to_string(geteuid()) + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        return std::nullopt;
    }
    made = pattern + '/';
    return made;
}

// Where the edit files go: $XDG_RUNTIME_DIR when it is an absolute path to this user's own folder,
// else "glyphsnap-<uid>" in the temporary folder, made 0700 when missing. One that is a link,
// someone else's or open to others is never written into: a fresh private folder serves instead.
std::optional<std::string> EditFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && runtime[0] == '/' && IsOwnFolder(runtime, false)) {
        std::string folder = runtime;
        if (folder.back() != '/') {
            folder += '/';
        }
        return folder;
    }
    const std::string temporary = TemporaryFolder();
    const std::string own = temporary + "glyphsnap-" + std::to_string(geteuid());
    if (mkdir(own.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    if (IsOwnFolder(own, true)) {
        return own + '/';
    }
    return FreshPrivateFolder(temporary);
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
        for (const char* candidate :
             {"kolourpaint", "pinta", "mtpaint", "drawing", "gimp", "krita"}) {
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

// Glyphsnap keeps no log, but the libraries beneath its decoder and recognizer write a line to
// standard error for many a damaged file or missing model. A caller that never reads that pipe
// would stop the program once it is full, so it leads nowhere. Where even /dev/null cannot be had,
// it stays as it is rather than be closed: the next file opened would take its number.
void SilenceStandardError() {
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0) {
        return;
    }
    if (nowhere != STDERR_FILENO) {
        (void)dup2(nowhere, STDERR_FILENO);  // the copy does not inherit O_CLOEXEC
        close(nowhere);
    }
}

}  // namespace

void InitialiseProcess() {
    SilenceStandardError();
    // A caller that closed its end of the reply pipe must not end Glyphsnap: write failures are
    // ignored like any other stream error.
    signal(SIGPIPE, SIG_IGN);
    // Started paint programs are never waited for; the system reaps them when they end.
    signal(SIGCHLD, SIG_IGN);
}

std::vector<std::uint8_t> DecodeImageText(std::string_view text) {
    return DecodeBase64(text).value_or(std::vector<std::uint8_t>{});
}

std::optional<EditImageFile> OpenEditImageFile() {
    const std::optional<std::string> editFolder = EditFolder();
    if (!editFolder) {
        return std::nullopt;
    }
    const std::string& folder = *editFolder;
    std::string path = folder + std::string(kEditCacheFileName);
    if (RemoveOldCacheFile(path)) {
        if (UniqueFile stream = CreateExclusively(path)) {
            return EditImageFile{std::move(path), std::move(stream)};
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
        // Someone put a file under the cache name since it was removed.
    }
    // A name taken by an earlier edit of the same millisecond, or by another process, passes on
    // to the next one.
    const std::uint64_t tick = TickCount();
    for (unsigned attempt = 0; attempt < kFallbackNameAttempts; ++attempt) {
        path = folder + FallbackEditFileName(tick, attempt);
        if (UniqueFile stream = CreateExclusively(path)) {
            return EditImageFile{std::move(path), std::move(stream)};
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void StartPaintProgram(const NativePath& path) {
    std::string program = FindPaintProgram();
    std::array<char*, 3> argv{program.data(), const_cast<char*>(path.c_str()), nullptr};

    // The paint program gets a session of its own, no descriptor of ours (it must never hold the
    // reply pipe) and default signal handling.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t child = 0;
    (void)posix_spawnp(&child, program.c_str(), &files, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
}

}  // namespace glyphsnap
