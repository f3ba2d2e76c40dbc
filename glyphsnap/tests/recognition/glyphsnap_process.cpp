#include "glyphsnap/tests/recognition/glyphsnap_process.h"

#include <chrono>
#include <vector>

#include "glyphsnap/tests/blackbox/child_process.h"
#include "glyphsnap/tests/protocol/frame_bytes.h"

namespace glyphsnap::testing {

GlyphsnapProcess::GlyphsnapProcess(const std::map<std::string, std::string>& environment,
                                   const Launch& launch) {
    std::vector<std::string> changes;
    for (const auto& [name, value] : environment) {
        changes.push_back(value.empty() ? name : name + "=" + value);
    }
    std::vector<std::string> command = launch.launcher;
    command.emplace_back(GLYPHSNAP_PROGRAM);
    process_ = std::make_unique<blackbox::ChildProcess>(
        command, changes,
        launch.pipeErrors ? blackbox::ErrorOutput::Piped : blackbox::ErrorOutput::Inherited);
}

GlyphsnapProcess::~GlyphsnapProcess() = default;

void GlyphsnapProcess::Send(const std::string& payload) {
    process_->Write(Frame(payload));
}

std::optional<std::string> GlyphsnapProcess::Receive(int seconds) {
    return process_->ReadReply(std::chrono::seconds(seconds));
}

int GlyphsnapProcess::Finish() {
    process_->CloseInput();
    return process_->WaitForExit(std::chrono::seconds(120)).value_or(-1);
}

std::string GlyphsnapProcess::ErrorOutput() {
    return process_->ReadErrorOutput(std::chrono::seconds(10));
}

std::string RecognitionRequest(const std::string& image) {
    return R"({"image":")" + image + R"("})";
}

}  // namespace glyphsnap::testing
