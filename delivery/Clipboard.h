// Text delivery: placing text on the clipboard and asking the window the user
// came from to paste it. Delivery (delivery/Delivery.h) is a thin wrapper
// around these functions, which tests drive with stand-ins.
#pragma once

#include <windows.h>

#include "text/Encoding.h"

namespace delivery {

// The clipboard operations that placing text needs. The product uses
// SystemClipboard; tests substitute failures and record what was placed.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // One attempt to open the clipboard; false while another program holds it.
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual bool Empty() = 0;
    // True when the clipboard took `block`: from then on it owns it.
    virtual bool SetData(UINT format, HGLOBAL block) = 0;
    // The pause between two attempts to open.
    virtual void PauseBeforeRetry() = 0;
};

// The system clipboard, opened for `owner` (which becomes its owner).
class SystemClipboard : public Clipboard {
public:
    explicit SystemClipboard(HWND owner) : m_owner(owner) {}
    bool Open() override;
    void Close() override;
    bool Empty() override;
    bool SetData(UINT format, HGLOBAL block) override;
    void PauseBeforeRetry() override;

private:
    HWND m_owner;
};

// How often opening is tried before giving up: another program that holds the
// clipboard usually lets go within a few tens of milliseconds.
inline constexpr int kOpenAttempts = 10;
inline constexpr DWORD kOpenRetryIntervalMs = 20;

// Places `text` on the clipboard in both text formats, each with its
// terminating zero. A Shift-JIS text goes as CF_TEXT, exactly its bytes, and
// as CF_UNICODETEXT converted from the ANSI code page, so that Unicode
// programs get the right characters whatever the user's input language. A
// UTF-8 text goes as CF_UNICODETEXT, exactly its characters, and as CF_TEXT
// in the nearest ANSI form for programs that read only that. False, with the
// clipboard left as it was, when the memory could not be had or the
// clipboard not be opened; false also when the text's exact form was refused.
bool PlaceText(Clipboard& clipboard, const text::EncodedText& text);

// The hook library's paste callback, as EnumChildWindows calls it.
using PasteProc = int(__stdcall*)(HWND window, long unused);

// Makes the top-level window of `lastActive` paste by calling `paste` for its
// child windows (EnumChildWindows; the callback ends the walk), or for the
// window itself when it has no child. False, and nothing called, when
// `lastActive` is null or no longer exists.
bool PasteInto(HWND lastActive, PasteProc paste);

}  // namespace delivery
