#include "brambolt/driver/tests/recording_port.h"

#include <cstdint>
#include <cstring>

#include "brambolt/driver/control_codes.h"

namespace brambolt::testing {
namespace {

std::string RequestWord(DWORD code, const void* input, DWORD inputSize) {
    std::string word = code == IOCTL_FILTER_PING              ? "ping"
                       : code == IOCTL_FILTER_SET_PROTECTION  ? "protection"
                       : code == IOCTL_FILTER_SET_DATA_ACCESS ? "data access"
                                                              : "control " + std::to_string(code);
    if (input != nullptr && inputSize == sizeof(std::int32_t)) {
        std::int32_t value = 0;
        std::memcpy(&value, input, sizeof value);
        word += " " + std::to_string(value);
    }
    return word;
}

}  // namespace

DriverDevice RecordingPort::OpenDevice(const wchar_t* devicePath) {
    bool opened = opens;
    {
        const std::scoped_lock lock(mutex_);
        if (!openScript.empty()) {
            opened = openScript.front();
            openScript.pop_front();
        }
    }
    Record({opened ? "open" : "open refused", devicePath, {}, false, nullptr});
    if (!opened) {
        return {};
    }
    return {*this, device};
}

bool RecordingPort::SendControl(HANDLE handle, DWORD code, const void* input, DWORD inputSize) {
    const auto* bytes = static_cast<const unsigned char*>(input);
    Record({RequestWord(code, input, inputSize),
            {},
            bytes != nullptr ? std::vector<unsigned char>(bytes, bytes + inputSize)
                             : std::vector<unsigned char>(),
            input == nullptr && inputSize == 0,
            handle});
    return answers;
}

void RecordingPort::CloseDevice(HANDLE handle) {
    Record({"close", {}, {}, false, handle});
}

HRESULT RecordingPort::FilterLoad(const wchar_t* serviceName) {
    Record({"load", serviceName, {}, false, nullptr});
    if (onLoad) {
        onLoad();
    }
    return loadResult;
}

HRESULT RecordingPort::FilterUnload(const wchar_t* serviceName) {
    Record({"unload", serviceName, {}, false, nullptr});
    return S_OK;
}

std::vector<RecordingPort::Call> RecordingPort::Calls() const {
    const std::scoped_lock lock(mutex_);
    return calls_;
}

std::vector<std::string> RecordingPort::Requests() const {
    std::vector<std::string> requests;
    for (const Call& call : Calls()) {
        requests.push_back(call.request);
    }
    return requests;
}

void RecordingPort::Clear() {
    const std::scoped_lock lock(mutex_);
    calls_.clear();
}

void RecordingPort::Record(Call call) {
    const std::scoped_lock lock(mutex_);
    calls_.push_back(std::move(call));
}

}  // namespace brambolt::testing
