// The clipboard as another program sees it.
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "E2e.h"

namespace e2e {

namespace {

// Someone else (Pelo) may have it open for a moment: retry briefly.
bool OpenClipboardSoon() {
    return WaitUntil([] { return ::OpenClipboard(nullptr) != FALSE; }, 3s);
}

class OpenedClipboard {
public:
    OpenedClipboard() : m_open(OpenClipboardSoon()) {}
    ~OpenedClipboard() {
        if (m_open) {
            ::CloseClipboard();
        }
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return m_open; }

private:
    bool m_open;
};

}  // namespace

std::optional<std::string> ClipboardBlock(UINT format) {
    OpenedClipboard clipboard;
    if (!clipboard) {
        return std::nullopt;
    }
    const HANDLE data = ::GetClipboardData(format);
    if (!data) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const char*>(::GlobalLock(data));
    if (!bytes) {
        return std::nullopt;
    }
    std::string block(bytes, ::GlobalSize(data));
    ::GlobalUnlock(data);
    return block;
}

std::optional<std::string> ClipboardText() {
    std::optional<std::string> block = ClipboardBlock(CF_TEXT);
    if (block) {
        block->resize(std::strlen(block->c_str()));
    }
    return block;
}

std::optional<std::wstring> ClipboardUnicodeText() {
    const std::optional<std::string> block = ClipboardBlock(CF_UNICODETEXT);
    if (!block) {
        return std::nullopt;
    }
    std::wstring text(block->size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), block->data(), text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return text;
}

bool SetClipboardText(std::string_view cp932) {
    OpenedClipboard clipboard;
    if (!clipboard || !::EmptyClipboard()) {
        return false;
    }
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, cp932.size() + 1);
    if (!memory) {
        return false;
    }
    char* bytes = static_cast<char*>(::GlobalLock(memory));
    std::memcpy(bytes, cp932.data(), cp932.size());
    bytes[cp932.size()] = '\0';
    ::GlobalUnlock(memory);
    if (!::SetClipboardData(CF_TEXT, memory)) {
        ::GlobalFree(memory);
        return false;
    }
    return true;
}

bool EmptyClipboardNow() {
    OpenedClipboard clipboard;
    return clipboard && ::EmptyClipboard();
}

// ---- ClipboardHolder ----------------------------------------------------------------------

struct ClipboardHolder::State {
    std::mutex mutex;
    std::condition_variable changed;
    bool opened = false;
    bool done = false;  // the thread has given up or finished holding
    bool release = false;
};

ClipboardHolder::ClipboardHolder(std::chrono::milliseconds duration)
    : m_state(std::make_unique<State>()) {
    State& state = *m_state;
    m_thread = std::thread([&state, duration] {
        // Opened for a window: a clipboard opened for no window lets any other
        // caller that passes no window in as well (Wine).
        const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                             nullptr, nullptr, nullptr);
        const bool opened =
            owner && WaitUntil([&] { return ::OpenClipboard(owner) != FALSE; }, 3s);
        std::unique_lock lock(state.mutex);
        state.opened = opened;
        state.changed.notify_all();
        if (opened) {
            state.changed.wait_for(lock, duration, [&] { return state.release; });
            ::CloseClipboard();
        }
        if (owner) {
            ::DestroyWindow(owner);
        }
        state.opened = false;
        state.done = true;
        state.changed.notify_all();
    });
    std::unique_lock lock(state.mutex);
    state.changed.wait(lock, [&] { return state.opened || state.done; });
}

ClipboardHolder::~ClipboardHolder() {
    {
        std::lock_guard lock(m_state->mutex);
        m_state->release = true;
    }
    m_state->changed.notify_all();
    m_thread.join();
}

bool ClipboardHolder::Opened() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->opened;
}

}  // namespace e2e
