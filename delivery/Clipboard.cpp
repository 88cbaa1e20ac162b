#include "delivery/Clipboard.h"

#include <cstring>
#include <string>

#include "win/Strings.h"
#include "win/UniqueHandle.h"

namespace delivery {

namespace {

// A clipboard block (GMEM_MOVEABLE | GMEM_DDESHARE, as the clipboard wants)
// holding exactly `size` bytes from `bytes`; empty when memory ran out.
win::UniqueGlobal MakeBlock(const void* bytes, std::size_t size) {
    win::UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size));
    if (!block) {
        return {};
    }
    void* data = ::GlobalLock(block.get());
    if (data == nullptr) {
        return {};
    }
    const win::GlobalLockGuard locked(block.get());
    std::memcpy(data, bytes, size);
    return block;
}

win::UniqueGlobal MakeAnsiBlock(const text::EncodedText& text) {
    const std::string ansi =
        text.encoding == text::Encoding::ShiftJis
            ? text.bytes
            : win::FromWide(win::ToWide(text.bytes, text.encoding), text::Encoding::ShiftJis);
    return MakeBlock(ansi.c_str(), ansi.size() + 1);
}

win::UniqueGlobal MakeUnicodeBlock(const text::EncodedText& text) {
    const std::wstring wide = win::ToWide(text.bytes, text.encoding);
    return MakeBlock(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

// Closes a clipboard opened through the Clipboard interface.
class OpenedClipboard {
public:
    explicit OpenedClipboard(Clipboard& clipboard) : m_clipboard(clipboard) {}
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() { m_clipboard.Close(); }

private:
    Clipboard& m_clipboard;
};

bool OpenPatiently(Clipboard& clipboard) {
    for (int attempt = 1;; ++attempt) {
        if (clipboard.Open()) {
            return true;
        }
        if (attempt == kOpenAttempts) {
            return false;
        }
        clipboard.PauseBeforeRetry();
    }
}

// Hands `block` to the clipboard; a block it refuses stays ours and is freed.
bool Hand(Clipboard& clipboard, UINT format, win::UniqueGlobal block) {
    if (!clipboard.SetData(format, block.get())) {
        return false;
    }
    block.release();
    return true;
}

}  // namespace

bool SystemClipboard::Open() {
    return ::OpenClipboard(m_owner) != FALSE;
}

void SystemClipboard::Close() {
    ::CloseClipboard();
}

bool SystemClipboard::Empty() {
    return ::EmptyClipboard() != FALSE;
}

bool SystemClipboard::SetData(UINT format, HGLOBAL block) {
    return ::SetClipboardData(format, block) != nullptr;
}

void SystemClipboard::PauseBeforeRetry() {
    ::Sleep(kOpenRetryIntervalMs);
}

bool PlaceText(Clipboard& clipboard, const text::EncodedText& text) {
    // Both blocks are made before the clipboard is opened: it is held only
    // for the hand-over, and a shortage of memory leaves it untouched.
    win::UniqueGlobal ansi = MakeAnsiBlock(text);
    win::UniqueGlobal unicode = MakeUnicodeBlock(text);
    if (!ansi || !unicode) {
        return false;
    }
    if (!OpenPatiently(clipboard)) {
        return false;
    }
    const OpenedClipboard opened(clipboard);
    // The text's own form first: only that one must be taken. Without the
    // Unicode form the system would offer CF_TEXT converted by the input
    // language's code page, which garbles Japanese for other languages.
    const bool exactIsAnsi = text.encoding == text::Encoding::ShiftJis;
    if (!clipboard.Empty() || !Hand(clipboard, exactIsAnsi ? CF_TEXT : CF_UNICODETEXT,
                                    std::move(exactIsAnsi ? ansi : unicode))) {
        return false;
    }
    Hand(clipboard, exactIsAnsi ? CF_UNICODETEXT : CF_TEXT,
         std::move(exactIsAnsi ? unicode : ansi));
    return true;
}

bool PasteInto(HWND lastActive, PasteProc paste) {
    if (lastActive == nullptr || !::IsWindow(lastActive)) {
        return false;
    }
    const HWND target = ::GetAncestor(lastActive, GA_ROOT);
    if (::GetWindow(target, GW_CHILD) == nullptr) {
        paste(target, 0);
        return true;
    }
    // The callback takes a long where WNDENUMPROC has an LPARAM; the walk
    // passes 0, which reads the same either way.
    ::EnumChildWindows(target, reinterpret_cast<WNDENUMPROC>(reinterpret_cast<void (*)()>(paste)),
                       0);
    return true;
}

}  // namespace delivery
