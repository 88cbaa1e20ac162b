// One move-only owner for every kind of Win32 handle, and a name per kind.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

// Traits: `type` is the handle type, `Invalid()` the value that owns
// nothing, `Close(h)` releases a handle that is not Invalid().
template <typename Traits>
class UniqueHandle {
public:
    using type = typename Traits::type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(type handle) noexcept : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    type get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Traits::Invalid(); }

    type release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }
    void reset(type handle = Traits::Invalid()) noexcept {
        const type old = std::exchange(m_handle, handle);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

private:
    type m_handle = Traits::Invalid();
};

// Traits for handles whose "none" value is null and whose release is one call.
template <typename T, auto CloseFunction>
struct NullHandleTraits {
    using type = T;
    static constexpr T Invalid() noexcept { return nullptr; }
    static void Close(T handle) noexcept { CloseFunction(handle); }
};

struct FileHandleTraits {
    using type = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { ::CloseHandle(handle); }
};

struct FindHandleTraits {
    using type = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { ::FindClose(handle); }
};

// GlobalUnlock for a block locked by GlobalLockGuard.
struct GlobalLockTraits {
    using type = HGLOBAL;
    static constexpr HGLOBAL Invalid() noexcept { return nullptr; }
    static void Close(HGLOBAL handle) noexcept { ::GlobalUnlock(handle); }
};

using UniqueKernelHandle = UniqueHandle<NullHandleTraits<HANDLE, &::CloseHandle>>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, &::DestroyMenu>>;
using UniqueGlobal = UniqueHandle<NullHandleTraits<HGLOBAL, &::GlobalFree>>;
using UniqueHook = UniqueHandle<NullHandleTraits<HHOOK, &::UnhookWindowsHookEx>>;
using UniqueWinEventHook = UniqueHandle<NullHandleTraits<HWINEVENTHOOK, &::UnhookWinEvent>>;
using UniqueWindow = UniqueHandle<NullHandleTraits<HWND, &::DestroyWindow>>;
using GlobalLockGuard = UniqueHandle<GlobalLockTraits>;

// A window's device context, released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : m_window(window), m_dc(::GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (m_dc != nullptr) {
            ::ReleaseDC(m_window, m_dc);
        }
    }
    HDC get() const noexcept { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND window) noexcept
        : m_window(window), m_dc(::BeginPaint(window, &m_paint)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { ::EndPaint(m_window, &m_paint); }
    HDC get() const noexcept { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

// Selects an object into a DC and selects the previous one back on destruction.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : m_dc(dc), m_previous(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (m_previous != nullptr) {
            ::SelectObject(m_dc, m_previous);
        }
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace win
