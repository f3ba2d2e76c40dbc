// Glyphsnap as its caller sees it: the built program started with pipes, frames in, reply bytes
// out. The same tests run against the Linux program and, under Wine, the Windows one.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "glyphsnap/tests/blackbox/child_process.h"
#include "glyphsnap/tests/protocol/frame_bytes.h"

namespace glyphsnap::blackbox {
namespace {

namespace fs = std::filesystem;
using glyphsnap::testing::Frame;
using namespace std::chrono_literals;

constexpr auto kReplyLimit = 30s;
constexpr std::string_view kBase64Failure = R"({"status":"error","data":"Base64 解码失败"})";
constexpr std::string_view kCacheFailure = R"({"status":"error","data":"本地缓存文件创建失败"})";
constexpr std::string_view kInvalidJsonStart = R"({"status":"error","data":"无效)";
constexpr std::string_view kEditSuccess = R"({"data":"画图程序启动成功","status":"success"})";

std::string EditRequest(std::string_view image) {
    return Frame(R"({"action":"edit_image","image":")" + std::string(image) + R"("})");
}

std::string Base64Of(std::string_view bytes) {
    constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i + 2 < bytes.size(); i += 3) {
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
        const unsigned group = (byte(i) << 16) | (byte(i + 1) << 8) | byte(i + 2);
        for (const int shift : {18, 12, 6, 0}) {
            text += kAlphabet[(group >> shift) & 63];
        }
    }
    return text;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> SplitList(const char* text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text != nullptr ? text : "");
    for (std::string part; std::getline(stream, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

// Where the program under test runs and where its files land, seen from this side.
class BlackBox : public ::testing::Test {
  protected:
    void SetUp() override {
        command_ = SplitList(std::getenv("GLYPHSNAP_COMMAND"), '|');
        ASSERT_FALSE(command_.empty()) << "GLYPHSNAP_COMMAND names the program under test";
        const char* platform = std::getenv("GLYPHSNAP_TARGET_PLATFORM");
        windows_ = platform != nullptr && std::string_view(platform) == "windows";
        windows_ ? SetUpWindows() : SetUpLinux();
    }

    void TearDown() override {
        if (!windows_ && !scratch_.empty()) {
            std::error_code ignored;
            fs::remove_all(scratch_, ignored);
        }
    }

    void SetUpLinux() {
        std::string pattern = (fs::temp_directory_path() / "glyphsnap-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        scratch_ = pattern;
        temp_ = scratch_ / "tmp";
        fs::create_directory(temp_);
        editFolder_ = temp_ / ("glyphsnap-" + std::to_string(geteuid()));
        paintLog_ = scratch_ / "paint-arguments.txt";
        const fs::path paint = scratch_ / "paint";
        std::ofstream(paint) << "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" << paintLog_.string()
                             << "'\nsleep 20\n";
        fs::permissions(paint, fs::perms::owner_all);
        // Without a runtime folder the edit files go to a folder of the user's own under TMPDIR.
        environment_ = {"TMPDIR=" + temp_.string(), "GLYPHSNAP_PAINT=" + paint.string(),
                        "XDG_RUNTIME_DIR"};
    }

    void SetUpWindows() {
        const char* prefix = std::getenv("WINEPREFIX");
        ASSERT_NE(prefix, nullptr);
        const std::string user = getpwuid(geteuid())->pw_name;
        temp_ = fs::path(prefix) / "drive_c" / "users" / user / "Temp";
        windowsTemp_ = "C:\\users\\" + user + "\\Temp\\";
        editFolder_ = temp_;
        paintLog_ = temp_ / "paint-arguments.txt";
        fs::create_directories(temp_);
        for (const auto& entry : fs::directory_iterator(temp_)) {
            if (entry.path().filename().string().starts_with("vorlin_ocr_edit_")) {
                fs::remove(entry.path());
            }
        }
        fs::remove(paintLog_);
        const char* helper = std::getenv("GLYPHSNAP_TEST_HELPER");
        ASSERT_NE(helper, nullptr) << "GLYPHSNAP_TEST_HELPER names the stand-in paint program";
        helper_ = helper;
        fs::copy_file(helper_,
                      fs::path(prefix) / "drive_c" / "windows" / "system32" / "mspaint.exe",
                      fs::copy_options::overwrite_existing);
    }

    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> environment = environment_;
        environment.insert(environment.end(), extra.begin(), extra.end());
        return std::make_unique<ChildProcess>(command_, environment);
    }

    // The path of an edit file as the program names it.
    std::string ProgramPath(std::string_view name) const {
        return windows_ ? windowsTemp_ + std::string(name) : (editFolder_ / name).string();
    }

    // The paint program's parameters for an edit file: one quoted path on Windows, whose paint
    // program splits its command line at spaces; one argument on Linux.
    std::string PaintParameters(std::string_view name) const {
        return windows_ ? '"' + ProgramPath(name) + '"' : ProgramPath(name);
    }

    // The edit folder as Glyphsnap makes it, for a test that puts something in it first.
    void MakeEditFolder() const {
        if (!windows_) {
            ASSERT_EQ(mkdir(editFolder_.c_str(), 0700), 0);
        }
    }

    std::vector<fs::path> EditFiles() const {
        std::vector<fs::path> files;
        if (!fs::exists(editFolder_)) {
            return files;
        }
        for (const auto& entry : fs::directory_iterator(editFolder_)) {
            if (entry.path().filename().string().starts_with("vorlin_ocr_edit_")) {
                files.push_back(entry.path());
            }
        }
        return files;
    }

    // The paint program runs on its own; give it a moment to record its arguments.
    std::vector<std::string> PaintInvocations(std::size_t expected) const {
        std::vector<std::string> lines;
        for (int attempt = 0; attempt < 150; ++attempt) {
            lines = SplitList(ReadFile(paintLog_).c_str(), '\n');
            if (lines.size() >= expected) {
                break;
            }
            std::this_thread::sleep_for(100ms);
        }
        return lines;
    }

    // Makes the cache file impossible to remove; on Windows for as long as the result lives.
    std::unique_ptr<ChildProcess> BlockCacheName() {
        MakeEditFolder();
        const fs::path cache = editFolder_ / "vorlin_ocr_edit_cache.png";
        std::ofstream(cache) << "old";
        if (!windows_) {
            // Linux: a cache name that is not a plain file of this user is never removed or
            // written.
            fs::remove(cache);
            fs::create_directory(cache);
            return nullptr;
        }
        std::vector<std::string> hold{command_.front(), helper_.string(), "--hold",
                                      ProgramPath("vorlin_ocr_edit_cache.png")};
        auto holder = std::make_unique<ChildProcess>(hold, std::vector<std::string>{});
        EXPECT_EQ(holder->ReadLine(kReplyLimit), "held");
        return holder;
    }

    std::vector<fs::path> FallbackFiles() const {
        const std::regex fallbackName("vorlin_ocr_edit_[0-9]+(_[0-9]+)?\\.png");
        std::vector<fs::path> fallbacks;
        for (const auto& file : EditFiles()) {
            if (std::regex_match(file.filename().string(), fallbackName)) {
                fallbacks.push_back(file);
            }
        }
        return fallbacks;
    }

    std::vector<std::string> command_;
    std::vector<std::string> environment_;
    bool windows_ = false;
    fs::path scratch_;
    fs::path temp_;
    fs::path editFolder_;
    fs::path paintLog_;
    fs::path helper_;
    std::string windowsTemp_;
};

TEST_F(BlackBox, EditStoresTheDecodedBytesAndAnswersWithTheExactSuccessReply) {
    auto glyphsnap = Start();
    glyphsnap->Write(EditRequest("QUJD\\r\\nRA=="));
    const auto reply = glyphsnap->ReadFrameBytes(kReplyLimit);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(*reply, std::string("\x36\x00\x00\x00", 4) + std::string(kEditSuccess));
    EXPECT_EQ(ReadFile(editFolder_ / "vorlin_ocr_edit_cache.png"), "ABCD");
    EXPECT_EQ(PaintInvocations(1),
              std::vector<std::string>{PaintParameters("vorlin_ocr_edit_cache.png")});
    glyphsnap->CloseInput();
    EXPECT_EQ(glyphsnap->WaitForExit(kReplyLimit), 0);
}

TEST_F(BlackBox, EditTrimsQuotesAndLineEndsAndCutsTheDataUrlHeader) {
    auto glyphsnap = Start();
    glyphsnap->Write(EditRequest(R"(\\\"data:image/png;base64,QUJDRA==\"\r\n)"));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess);
    EXPECT_EQ(ReadFile(editFolder_ / "vorlin_ocr_edit_cache.png"), "ABCD");
}

TEST_F(BlackBox, EditOfTextThatDoesNotDecodeTouchesNoFile) {
    auto glyphsnap = Start();
    for (const std::string_view image :
         {"", R"( \" \\ \r\n)", "QU!D", "data:image/png;base64,", R"(\tQU!D)", "QQ="}) {
        glyphsnap->Write(EditRequest(image));
        EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kBase64Failure) << image;
    }
    EXPECT_TRUE(EditFiles().empty());
}

TEST_F(BlackBox, SecondEditReplacesTheCacheFile) {
    auto glyphsnap = Start();
    glyphsnap->Write(EditRequest("QUJD") + EditRequest("WFla"));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess);
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess);
    EXPECT_EQ(EditFiles(), std::vector<fs::path>{editFolder_ / "vorlin_ocr_edit_cache.png"});
    EXPECT_EQ(ReadFile(editFolder_ / "vorlin_ocr_edit_cache.png"), "XYZ");
    const std::string cache = PaintParameters("vorlin_ocr_edit_cache.png");
    EXPECT_EQ(PaintInvocations(2), (std::vector<std::string>{cache, cache}));
}

TEST_F(BlackBox, CacheFileThatCannotBeRemovedGoesToAFallbackFile) {
    const fs::path cache = editFolder_ / "vorlin_ocr_edit_cache.png";
    const std::unique_ptr<ChildProcess> holder = BlockCacheName();

    auto glyphsnap = Start();
    glyphsnap->Write(EditRequest("QUJD"));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess);

    const std::vector<fs::path> fallbacks = FallbackFiles();
    ASSERT_EQ(fallbacks.size(), 1u);
    EXPECT_TRUE(std::regex_match(fallbacks.front().filename().string(),
                                 std::regex("vorlin_ocr_edit_[0-9]+\\.png")));
    EXPECT_EQ(ReadFile(fallbacks.front()), "ABC");
    EXPECT_EQ(PaintInvocations(1),
              std::vector<std::string>{PaintParameters(fallbacks.front().filename().string())});
    if (holder) {
        EXPECT_EQ(ReadFile(cache), "old");
        holder->CloseInput();
    }
}

TEST_F(BlackBox, QuickEditsOfTwoProcessesWithTheCacheNameBlockedEachGetAFileOfTheirOwn) {
    const std::unique_ptr<ChildProcess> holder = BlockCacheName();
    // Many edits fall into one millisecond; the stand-in paint program ends at once here.
    const int editsPerProcess = windows_ ? 10 : 100;
    const std::vector<std::string> quickPaint{windows_ ? "" : "GLYPHSNAP_PAINT=/bin/true"};
    std::vector<std::unique_ptr<ChildProcess>> programs;
    std::set<std::string> sent;
    for (int process = 0; process < 2; ++process) {
        programs.push_back(Start(windows_ ? std::vector<std::string>{} : quickPaint));
        std::string requests;
        for (int edit = 0; edit < editsPerProcess; ++edit) {
            // Six bytes each, so that the Base64 text needs no padding.
            const std::string image = std::to_string(100000 + process * 1000 + edit);
            sent.insert(image);
            requests += EditRequest(Base64Of(image));
        }
        programs.back()->Write(requests);
    }
    for (const auto& program : programs) {
        for (int edit = 0; edit < editsPerProcess; ++edit) {
            ASSERT_EQ(program->ReadReply(kReplyLimit), kEditSuccess) << edit;
        }
    }
    std::set<std::string> stored;
    for (const fs::path& file : FallbackFiles()) {
        stored.insert(ReadFile(file));
    }
    EXPECT_EQ(stored, sent);
    EXPECT_EQ(FallbackFiles().size(), sent.size());
}

TEST_F(BlackBox, LinkAtTheCacheNameIsNeverFollowed) {
    if (windows_) {
        GTEST_SKIP() << "the Windows temporary folder belongs to its user";
    }
    const fs::path victim = scratch_ / "victim";
    std::ofstream(victim) << "keep";
    MakeEditFolder();
    fs::create_symlink(victim, editFolder_ / "vorlin_ocr_edit_cache.png");
    auto glyphsnap = Start();
    glyphsnap->Write(EditRequest("QUJD"));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess);
    EXPECT_EQ(ReadFile(victim), "keep");
    EXPECT_TRUE(fs::is_symlink(editFolder_ / "vorlin_ocr_edit_cache.png"));
    EXPECT_EQ(EditFiles().size(), 2u) << "the link and one fallback file";
}

TEST_F(BlackBox, PaintProgramGetsTheWholePathWhenTheTemporaryFolderHoldsASpace) {
    if (!windows_) {
        GTEST_SKIP() << "the Linux paint program gets the path as one argument";
    }
    // Wine takes the user's TEMP and TMP from the registry, as Windows does.
    const std::string spaced = windowsTemp_ + "Ann Lee";
    fs::create_directories(temp_ / "Ann Lee");
    struct UserTemporaryFolder {
        UserTemporaryFolder(std::string wineRun, std::string originalFolder)
            : wine(std::move(wineRun)), original(std::move(originalFolder)) {}
        std::string wine;
        std::string original;
        void Set(const std::string& folder) const {
            for (const char* name : {"TEMP", "TMP"}) {
                ChildProcess reg(
                    {wine, "reg", "add", "HKCU\\Environment", "/v", name, "/d", folder, "/f"}, {});
                EXPECT_EQ(reg.WaitForExit(kReplyLimit), 0) << name;
            }
        }
        UserTemporaryFolder(const UserTemporaryFolder&) = delete;
        UserTemporaryFolder& operator=(const UserTemporaryFolder&) = delete;
        ~UserTemporaryFolder() { Set(original); }
    };
    const UserTemporaryFolder userTemp(command_.front(),
                                       windowsTemp_.substr(0, windowsTemp_.size() - 1));
    userTemp.Set(spaced);

    auto glyphsnap = Start();
    glyphsnap->Write(EditRequest("QUJD"));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess);
    EXPECT_EQ(ReadFile(temp_ / "Ann Lee" / "vorlin_ocr_edit_cache.png"), "ABC");
    // The stand-in paint program keeps its record in the temporary folder it was given.
    std::vector<std::string> lines;
    for (int attempt = 0; attempt < 150 && lines.empty(); ++attempt) {
        lines = SplitList(ReadFile(temp_ / "Ann Lee" / "paint-arguments.txt").c_str(), '\n');
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_EQ(lines, std::vector<std::string>{'"' + spaced + "\\vorlin_ocr_edit_cache.png\""});
}

// Linux: the edit files' folder, for each way the runtime folder may be set.
TEST_F(BlackBox, EditFilesGoToAFolderOfTheUsersOwn) {
    if (windows_) {
        GTEST_SKIP() << "the Windows temporary folder belongs to its user";
    }
    const fs::path runtime = scratch_ / "run";
    ASSERT_EQ(mkdir(runtime.c_str(), 0700), 0);
    const fs::path openToAll = scratch_ / "open";
    ASSERT_EQ(mkdir(openToAll.c_str(), 0700), 0);
    ASSERT_EQ(chmod(openToAll.c_str(), 0777), 0);
    fs::create_directory_symlink(runtime, scratch_ / "run-link");
    struct Case {
        const char* name;
        std::string runtimeSetting;  // empty: not set
        fs::path expectedFolder;
    };
    const Case cases[] = {
        {"the user's own runtime folder", runtime.string(), runtime},
        {"not set", "", editFolder_},
        {"a relative path", "run", editFolder_},
        {"a link to the user's folder", (scratch_ / "run-link").string(), editFolder_},
        {"a folder everyone can write", openToAll.string(), editFolder_},
    };
    for (const Case& c : cases) {
        auto glyphsnap = Start({c.runtimeSetting.empty() ? std::string("XDG_RUNTIME_DIR")
                                                         : "XDG_RUNTIME_DIR=" + c.runtimeSetting});
        glyphsnap->Write(EditRequest("QUJD"));
        EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess) << c.name;
        EXPECT_EQ(ReadFile(c.expectedFolder / "vorlin_ocr_edit_cache.png"), "ABC") << c.name;
        fs::remove(c.expectedFolder / "vorlin_ocr_edit_cache.png");
    }
    struct stat info {};
    ASSERT_EQ(lstat(editFolder_.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0700U);
    EXPECT_TRUE(fs::is_empty(openToAll));
}

// Linux: "glyphsnap-<uid>" in the shared temporary folder may be there before the user's first
// edit; one that is not a private folder of the user's is never written into.
TEST_F(BlackBox, OwnFolderNameTakenByALinkOrAnOpenFolderIsNeverWrittenInto) {
    if (windows_) {
        GTEST_SKIP() << "the Windows temporary folder belongs to its user";
    }
    const fs::path elsewhere = scratch_ / "elsewhere";
    ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
    const std::regex freshFolder("glyphsnap-" + std::to_string(geteuid()) + "-[A-Za-z0-9]{6}");
    for (const bool link : {true, false}) {
        if (link) {
            fs::create_directory_symlink(elsewhere, editFolder_);
        } else {
            ASSERT_EQ(mkdir(editFolder_.c_str(), 0700), 0);
            ASSERT_EQ(chmod(editFolder_.c_str(), 0755), 0);
        }
        auto glyphsnap = Start();
        glyphsnap->Write(EditRequest("QUJD"));
        EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess) << link;
        EXPECT_TRUE(fs::is_empty(elsewhere)) << link;
        EXPECT_TRUE(fs::is_empty(editFolder_)) << link;
        std::vector<fs::path> fresh;
        for (const auto& entry : fs::directory_iterator(temp_)) {
            if (std::regex_match(entry.path().filename().string(), freshFolder)) {
                fresh.push_back(entry.path());
            }
        }
        ASSERT_EQ(fresh.size(), 1U) << link;
        EXPECT_EQ(ReadFile(fresh.front() / "vorlin_ocr_edit_cache.png"), "ABC") << link;
        EXPECT_EQ(fs::status(fresh.front()).permissions(), fs::perms::owner_all) << link;
        const auto invocations = PaintInvocations(1);
        EXPECT_EQ(invocations.back(), (fresh.front() / "vorlin_ocr_edit_cache.png").string());
        fs::remove_all(fresh.front());
        fs::remove(editFolder_);
        fs::remove(paintLog_);
    }
}

// Linux, as root: the reproduction of another user's file at the cache name in the shared folder.
TEST_F(BlackBox, AnotherUsersFileInTheTemporaryFolderDoesNotBlockTheCacheName) {
    if (windows_ || geteuid() != 0) {
        GTEST_SKIP() << "needs root on Linux to make another user's file";
    }
    const fs::path foreign = temp_ / "vorlin_ocr_edit_cache.png";
    std::ofstream(foreign) << "theirs";
    ASSERT_EQ(chown(foreign.c_str(), 4242, 4242), 0);
    auto glyphsnap = Start();
    glyphsnap->Write(EditRequest("QUJD") + EditRequest("WFla"));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess);
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess);
    EXPECT_EQ(EditFiles(), std::vector<fs::path>{editFolder_ / "vorlin_ocr_edit_cache.png"});
    EXPECT_EQ(ReadFile(editFolder_ / "vorlin_ocr_edit_cache.png"), "XYZ");
    EXPECT_EQ(ReadFile(foreign), "theirs");
}

TEST_F(BlackBox, FolderThatCannotBeWrittenGivesTheCacheFileFailure) {
    if (windows_) {
        GTEST_SKIP() << "Wine takes the temporary folder from its registry";
    }
    auto glyphsnap = Start({"TMPDIR=" + (scratch_ / "missing" / "folder").string()});
    glyphsnap->Write(EditRequest("QUJD"));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kCacheFailure);
}

TEST_F(BlackBox, RecognizerModuleThatFailsToLoadIsNamedAndLoadedAtTheNextRequest) {
    if (windows_) {
        GTEST_SKIP() << "the Windows build has no recognizer module";
    }
    // The program alone, without the module that lies beside it in the build.
    const fs::path lone = scratch_ / "glyphsnap";
    fs::copy_file(command_.front(), lone);
    ChildProcess glyphsnap({lone.string()}, environment_);
    // A white pixel as PNG: decoding succeeds, then the module is needed.
    constexpr std::string_view kPixel =
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU5Erk"
        "Jggg==";
    const std::string recognition = Frame(R"({"image":")" + std::string(kPixel) + R"("})");
    glyphsnap.Write(recognition + EditRequest("QUJD"));
    const auto reply = glyphsnap.ReadReply(kReplyLimit);
    ASSERT_TRUE(reply.has_value());
    EXPECT_TRUE(reply->starts_with(R"({"data":"文字识别失败: 识别引擎模块加载失败: )")) << *reply;
    EXPECT_NE(reply->find("glyphsnap-tesseract.so"), std::string::npos) << *reply;
    EXPECT_TRUE(reply->ends_with(R"(","status":"error"})")) << *reply;
    EXPECT_EQ(glyphsnap.ReadReply(kReplyLimit), kEditSuccess);

    // Once the module is there, the same program recognises.
    fs::copy_file(fs::path(command_.front()).parent_path() / "glyphsnap-tesseract.so",
                  scratch_ / "glyphsnap-tesseract.so");
    glyphsnap.Write(recognition);
    EXPECT_EQ(glyphsnap.ReadReply(kReplyLimit), R"({"data":"","status":"success"})");
}

TEST_F(BlackBox, WindowsWithoutAnOcrRuntimeAnswersThatNoRecognizerExists) {
    if (!windows_) {
        GTEST_SKIP() << "the Linux build recognises with Tesseract";
    }
    // Wine has no Windows.Media.Ocr (nor an in-memory stream class): the platform offers no
    // recognizer, and the program says so and serves on.
    auto glyphsnap = Start();
    constexpr std::string_view kPixel =
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU5Erk"
        "Jggg==";
    glyphsnap->Write(Frame(R"({"image":")" + std::string(kPixel) + R"("})") + EditRequest("QUJD"));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit),
              R"({"data":"文字识别失败: 没有适用于当前语言的识别引擎","status":"error"})");
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess);
}

TEST_F(BlackBox, PaintProgramNeverHoldsTheReplyPipe) {
    auto glyphsnap = Start();
    glyphsnap->Write(EditRequest("QUJD"));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kEditSuccess);
    ASSERT_EQ(PaintInvocations(1).size(), 1u);
    glyphsnap->CloseInput();
    // The stand-in paint program keeps running for 20 seconds; the output must end with
    // Glyphsnap, not with it.
    EXPECT_TRUE(glyphsnap->OutputEnds(10s));
    EXPECT_EQ(glyphsnap->WaitForExit(kReplyLimit), 0);
}

TEST_F(BlackBox, ProtocolErrorsAreAnsweredAndTheNextRequestIsServed) {
    auto glyphsnap = Start();
    const std::string typeError = R"({"data":"C++ 内部报错: [json.exception.type_error.302] type )"
                                  R"(must be string, but is )";
    glyphsnap->Write(Frame("abc") + Frame(" \r\n\t") + Frame(R"({"image":"x"} x)") +
                     Frame(R"({"action":5,"image":"x"})") + Frame(R"({"image":null})") +
                     Frame(R"({"action":"edit_image","image":[]})"));
    for (int i = 0; i < 3; ++i) {
        const auto reply = glyphsnap->ReadReply(kReplyLimit);
        ASSERT_TRUE(reply.has_value());
        EXPECT_TRUE(reply->starts_with(kInvalidJsonStart)) << *reply;
        EXPECT_TRUE(reply->ends_with("JSON 格式\"}")) << *reply;
    }
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), typeError + R"(number","status":"error"})");
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), typeError + R"(null","status":"error"})");
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), typeError + R"(array","status":"error"})");
    glyphsnap->Write(EditRequest(""));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kBase64Failure);
}

TEST_F(BlackBox, RequestsWithoutImageOrNotObjectsGetNoReply) {
    auto glyphsnap = Start();
    glyphsnap->Write(Frame(R"({"action":"edit_image"})") + Frame(R"({"action":"ocr"})") +
                     Frame("[1,2]") + Frame(R"("text")") + Frame("42") + Frame("null"));
    // The next reply is the one of the probe that follows them.
    glyphsnap->Write(EditRequest(""));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kBase64Failure);
    glyphsnap->CloseInput();
    EXPECT_TRUE(glyphsnap->OutputEnds(kReplyLimit));
}

TEST_F(BlackBox, ZeroFrameEndsTheProgramAndLaterFramesAreNotRead) {
    auto glyphsnap = Start();
    glyphsnap->Write(std::string("\0\0\0\0", 4) + EditRequest(""));
    EXPECT_TRUE(glyphsnap->OutputEnds(kReplyLimit));
    EXPECT_EQ(glyphsnap->WaitForExit(kReplyLimit), 0);
}

TEST_F(BlackBox, EndOfInputAndAFrameCutShortEndTheProgramQuietly) {
    for (const std::string& bytes :
         {std::string(), std::string("\x10\0", 2), std::string("\x40\0\0\0{\"image\"", 12)}) {
        auto glyphsnap = Start();
        glyphsnap->Write(bytes);
        glyphsnap->CloseInput();
        EXPECT_TRUE(glyphsnap->OutputEnds(kReplyLimit));
        EXPECT_EQ(glyphsnap->WaitForExit(kReplyLimit), 0);
    }
}

TEST_F(BlackBox, OversizedFrameIsAnsweredWithoutHoldingIt) {
    auto glyphsnap = Start();
    const std::uint32_t length = 256u * 1024u * 1024u + 1u;
    std::string header(4, '\0');
    for (int i = 0; i < 4; ++i) {
        header[static_cast<std::size_t>(i)] = static_cast<char>((length >> (8 * i)) & 0xFF);
    }
    ASSERT_TRUE(glyphsnap->Write(header));
    const std::string chunk(1 << 20, ' ');
    for (std::uint32_t sent = 0; sent < length; sent += static_cast<std::uint32_t>(chunk.size())) {
        const std::size_t step = std::min<std::size_t>(chunk.size(), length - sent);
        ASSERT_TRUE(glyphsnap->Write(std::string_view(chunk).substr(0, step)));
    }
    glyphsnap->Write(EditRequest(""));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit),
              R"({"data":"C++ 内部报错: request frame of 268435457 bytes exceeds the limit of )"
              R"(268435456 bytes","status":"error"})");
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kBase64Failure);

    // The largest announcement, cut short by the end of input, ends the program normally.
    auto second = Start();
    second->Write(std::string("\xFF\xFF\xFF\xFF", 4) + std::string(1000, 'x'));
    second->CloseInput();
    EXPECT_TRUE(second->OutputEnds(kReplyLimit));
    EXPECT_EQ(second->WaitForExit(kReplyLimit), 0);
}

TEST_F(BlackBox, MillionBracketsAreInvalidJsonAndTheProgramLivesOn) {
    auto glyphsnap = Start();
    glyphsnap->Write(Frame(std::string(1'000'000, '[')) + EditRequest(""));
    const auto reply = glyphsnap->ReadReply(kReplyLimit);
    ASSERT_TRUE(reply.has_value());
    EXPECT_TRUE(reply->starts_with(kInvalidJsonStart));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kBase64Failure);
    glyphsnap->CloseInput();
    EXPECT_EQ(glyphsnap->WaitForExit(kReplyLimit), 0);
}

TEST_F(BlackBox, WideRequestIsAnsweredWithinBoundedMemory) {
    auto glyphsnap = Start();
    if (!windows_) {
        // Parsed as a whole, these 64 MiB of empty objects would take over 2 GiB.
        ASSERT_TRUE(glyphsnap->LimitAddressSpace(std::uint64_t{1} << 30));
    }
    std::string wide = R"({"image":"AAAA","x":[)";
    while (wide.size() < (std::size_t{64} << 20)) {
        wide += "{},";
    }
    wide += "{}]}";
    glyphsnap->Write(Frame(wide) + EditRequest(""));
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit),
              R"({"data":"C++ 内部报错: request exceeds the limit of 100000 JSON values",)"
              R"("status":"error"})");
    EXPECT_EQ(glyphsnap->ReadReply(kReplyLimit), kBase64Failure);
    glyphsnap->CloseInput();
    EXPECT_EQ(glyphsnap->WaitForExit(kReplyLimit), 0);
}

}  // namespace
}  // namespace glyphsnap::blackbox
