// Thin wrappers over the common controls Pelo uses. Each holds the window
// handle it was bound to (DataExchange::Control) and owns nothing.
// Texts are in the ANSI code page, or UTF-16 where a std::wstring is taken:
// the controls keep their texts as UTF-16, and a kaomoji of a UTF-8 file
// may have no ANSI form.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace win {

class Window {
public:
    HWND Hwnd() const noexcept { return m_hWnd; }
    void Attach(HWND hwnd) noexcept { m_hWnd = hwnd; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    std::string Text() const;
    void SetText(const std::string& text) const;
    // The text as the control keeps it, in UTF-16 (WM_GETTEXT, WM_SETTEXT).
    std::wstring WideText() const;
    void SetWideText(const std::wstring& text) const;

protected:
    HWND m_hWnd = nullptr;
};

// Keeps a control from drawing while it is filled item by item; it is drawn
// once, whole, when this ends. It is also kept invisible meanwhile, as a list
// box otherwise still redraws its scroll bar at every change of its extent.
class DrawingSuspended {
public:
    explicit DrawingSuspended(const Window& control);
    ~DrawingSuspended();
    DrawingSuspended(const DrawingSuspended&) = delete;
    DrawingSuspended& operator=(const DrawingSuspended&) = delete;

private:
    HWND m_control;
    LONG_PTR m_style;
};

class TabControl : public Window {
public:
    void InsertItem(int index, const std::string& text) const;  // TCIF_TEXT only
    int GetCurSel() const;
};

class TreeControl : public Window {
public:
    HTREEITEM InsertItem(const std::wstring& text, HTREEITEM parent, HTREEITEM insertAfter,
                         LPARAM data = 0) const;
    HTREEITEM GetSelectedItem() const;
    LPARAM GetItemData(HTREEITEM item) const;
    bool ItemHasChildren(HTREEITEM item) const;
};

class ListBox : public Window {
public:
    void ResetContent() const;
    int AddString(const std::string& text) const;
    int AddString(const std::wstring& text) const;
    int InsertString(int index, const std::wstring& text) const;
    int DeleteString(int index) const;
    int GetCount() const;
    int GetCurSel() const;  // LB_ERR when nothing is selected
    void SetCurSel(int index) const;
    // After entry `deleted` went: selects the entry that took its place, or
    // the new last entry; nothing once the list is empty.
    void SelectAfterDelete(int deleted) const;
    std::string GetText(int index) const;  // LB_GETTEXTLEN, then LB_GETTEXT
    std::wstring GetWideText(int index) const;
    void SetHorizontalExtent(int width) const;
    void InitStorage(int items, int bytes) const;
};

// Lets `list` scroll sideways as far as the widest text that `forEachText`
// hands to the function it is given, measured in the list's font and widened
// by its average character width so that no last character is cut.
using TextVisitor = std::function<void(std::wstring_view)>;
void FitHorizontalExtent(const ListBox& list,
                         const std::function<void(const TextVisitor&)>& forEachText);
// The same for every entry the list holds, read back from it.
void FitHorizontalExtent(const ListBox& list);

// Asks the user to select an entry first (string 500).
void AskForSelection();

// The index of the list's selected entry; with none, the user is asked to
// select one and there is nothing.
std::optional<int> SelectionOrAsk(const ListBox& list);

}  // namespace win
