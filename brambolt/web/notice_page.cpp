#include "brambolt/web/notice_page.h"

namespace brambolt {

namespace {

constexpr std::u16string_view kFallbackPage =
    u"<html lang='zh-CN'><head><meta charset='UTF-8'><style>body { font-family: 'Microsoft "
    u"YaHei', sans-serif; background-color: #f5f5f5; margin: 0; padding: 10px; text-align: "
    u"center; }.box { font-size: 13px;background-color: #ffffff; border: 1px solid #dcdcdc; "
    u"border-radius: 6px; padding: 10px; box-shadow: 0 4px 12px rgba(0,0,0,0.1); "
    u"}</style></head><body><div class='box'> "
    u"请仔细阅读以上注意事项</div></body></html>";

}  // namespace

std::u16string NoticePageAddress(std::u16string_view host) {
    std::u16string address = u"https://";
    address += host;
    address += u"/keldanew.html";
    return address;
}

std::u16string_view OfflineFallbackPage() noexcept {
    return kFallbackPage;
}

bool ShouldShowOfflineFallback(bool navigationSucceeded, std::u16string_view source,
                               bool& offlineFallbackShown) noexcept {
    if (navigationSucceeded || source.find(u"local-offline") != std::u16string_view::npos ||
        offlineFallbackShown) {
        offlineFallbackShown = false;
        return false;
    }
    offlineFallbackShown = true;
    return true;
}

}  // namespace brambolt
