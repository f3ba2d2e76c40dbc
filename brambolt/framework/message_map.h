// Message maps as plain tables: each entry binds a window message, or a command or notification
// from one control, to a member handler. One function walks a table and answers whether the
// message was handled, so a test can feed a table messages without any window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#ifdef _WIN32
#include <windows.h>
#endif

namespace brambolt {

inline constexpr std::uint32_t kCommandMessage = 0x0111;  // WM_COMMAND
inline constexpr std::uint32_t kNotifyMessage = 0x004E;   // WM_NOTIFY

// The layout of the Win32 NMHDR that WM_NOTIFY points to with its lParam.
struct NotifyHeader {
    void* from;
    std::uintptr_t idFrom;
    std::uint32_t code;
};

#ifdef _WIN32
static_assert(kCommandMessage == WM_COMMAND);
static_assert(kNotifyMessage == WM_NOTIFY);
static_assert(sizeof(NotifyHeader) == sizeof(NMHDR));
static_assert(offsetof(NotifyHeader, from) == offsetof(NMHDR, hwndFrom));
static_assert(offsetof(NotifyHeader, idFrom) == offsetof(NMHDR, idFrom));
static_assert(offsetof(NotifyHeader, code) == offsetof(NMHDR, code));
#endif

enum class MapEntryKind { Message, Command, Notify };

template <typename Owner>
struct MessageMapEntry {
    using MessageHandler = std::intptr_t (Owner::*)(std::uintptr_t wParam, std::intptr_t lParam);
    using CommandHandler = void (Owner::*)();

    MapEntryKind kind;
    std::uint32_t message;       // MapEntryKind::Message only
    std::uint32_t notification;  // BN_CLICKED, LBN_DBLCLK, NM_CLICK, ...
    std::uint16_t controlId;     // as carried by the message; -1 (0xFFFF) for unnamed statics
    MessageHandler onMessage;
    CommandHandler onCommand;
};

template <typename Owner>
constexpr MessageMapEntry<Owner> OnMessage(std::uint32_t message,
                                           typename MessageMapEntry<Owner>::MessageHandler h) {
    return {MapEntryKind::Message, message, 0, 0, h, nullptr};
}

template <typename Owner>
constexpr MessageMapEntry<Owner> OnCommand(std::uint32_t notification, int controlId,
                                           typename MessageMapEntry<Owner>::CommandHandler h) {
    return {MapEntryKind::Command,
            kCommandMessage,
            notification,
            static_cast<std::uint16_t>(controlId),
            nullptr,
            h};
}

template <typename Owner>
constexpr MessageMapEntry<Owner> OnNotify(std::uint32_t code, int controlId,
                                          typename MessageMapEntry<Owner>::CommandHandler h) {
    return {MapEntryKind::Notify,
            kNotifyMessage,
            code,
            static_cast<std::uint16_t>(controlId),
            nullptr,
            h};
}

template <typename Owner>
bool MapEntryMatches(const MessageMapEntry<Owner>& entry, std::uint32_t message,
                     std::uintptr_t wParam, std::intptr_t lParam) {
    switch (entry.kind) {
        case MapEntryKind::Message:
            return entry.message == message;
        case MapEntryKind::Command:
            return message == kCommandMessage &&
                   static_cast<std::uint16_t>(wParam & 0xFFFF) == entry.controlId &&
                   static_cast<std::uint16_t>((wParam >> 16) & 0xFFFF) == entry.notification;
        case MapEntryKind::Notify: {
            if (message != kNotifyMessage || lParam == 0) {
                return false;
            }
            // WM_NOTIFY carries its header as a pointer in lParam.
            const auto* header =
                reinterpret_cast<const NotifyHeader*>(lParam);  // NOLINT(performance-no-int-to-ptr)
            return header->code == entry.notification &&
                   static_cast<std::uint16_t>(header->idFrom & 0xFFFF) == entry.controlId;
        }
    }
    return false;
}

// Runs the first entry of the table that matches; false when none does. Command and notification
// handlers answer 0.
template <typename Owner>
bool ProcessMessageMap(Owner& owner, std::span<const MessageMapEntry<Owner>> map,
                       std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                       std::intptr_t& result) {
    for (const auto& entry : map) {
        if (!MapEntryMatches(entry, message, wParam, lParam)) {
            continue;
        }
        if (entry.onMessage != nullptr) {
            result = (owner.*entry.onMessage)(wParam, lParam);
        } else {
            (owner.*entry.onCommand)();
            result = 0;
        }
        return true;
    }
    return false;
}

}  // namespace brambolt
