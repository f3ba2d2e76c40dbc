#include "glyphsnap/protocol/replies.h"
#include "glyphsnap/recognition/recognition.h"

namespace glyphsnap {

std::string RecognitionErrorReply(const RecognitionError& error) {
    switch (error.failure) {
        case RecognitionFailure::NotBase64:
            return std::string(kBase64FailureReply);
        case RecognitionFailure::UndecodableImage:
            return BuildErrorReply("图片解码失败: 无法识别的图片格式或图片已损坏");
        case RecognitionFailure::ImageTooLarge:
            return BuildErrorReply("图片解码失败: 图片尺寸超过上限");
        case RecognitionFailure::ImageTooComplex:
            return BuildErrorReply("图片解码失败: 图片的数据块数量超过上限");
        case RecognitionFailure::RecognitionFailed:
            return BuildErrorReply("文字识别失败");
        case RecognitionFailure::RecognitionTimedOut:
            return BuildErrorReply("文字识别失败: 识别超时");
        case RecognitionFailure::NoRecognizer:
            return BuildErrorReply("文字识别失败: 没有适用于当前语言的识别引擎");
        case RecognitionFailure::RecognizerNotLoaded:
            return BuildErrorReply(error.detail.empty()
                                       ? std::string("文字识别失败: 识别引擎模块加载失败")
                                       : "文字识别失败: 识别引擎模块加载失败: " + error.detail);
        case RecognitionFailure::RecognizerNotStarted:
            return BuildErrorReply("文字识别失败: 识别引擎启动失败");
        case RecognitionFailure::Unavailable:
            return BuildErrorReply("文字识别失败: 此版本没有文字识别引擎");
    }
    return BuildErrorReply("文字识别失败");
}

}  // namespace glyphsnap
