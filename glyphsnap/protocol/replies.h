// Every reply Glyphsnap sends. Fixed replies are stored bytes ("status" first); built replies are
// serialised by the JSON library (members sorted, so "data" comes first).
#pragma once

#include <string>
#include <string_view>

namespace glyphsnap {

inline constexpr std::string_view kInvalidJsonReply =
    R"({"status":"error","data":"无效的 JSON 格式"})";
inline constexpr std::string_view kBase64FailureReply =
    R"({"status":"error","data":"Base64 解码失败"})";
inline constexpr std::string_view kCacheFileFailureReply =
    R"({"status":"error","data":"本地缓存文件创建失败"})";

inline constexpr std::string_view kEditSuccessText = "画图程序启动成功";
inline constexpr std::string_view kInternalErrorPrefix = "C++ 内部报错: ";

std::string BuildReply(std::string_view status, std::string_view data);
std::string BuildSuccessReply(std::string_view data);
std::string BuildErrorReply(std::string_view data);
// The reply for a standard exception that escaped the handling of a request.
std::string BuildInternalErrorReply(std::string_view description);

}  // namespace glyphsnap
