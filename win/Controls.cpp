#include "win/Controls.h"

#include <algorithm>

#include "win/ResourceIds.h"
#include "win/MessageBox.h"
#include "win/UniqueHandle.h"

namespace win {

std::string Window::Text() const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void Window::SetText(const std::string& text) const {
    ::SetWindowTextA(m_hWnd, text.c_str());
}

std::wstring Window::WideText() const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void Window::SetWideText(const std::wstring& text) const {
    ::SetWindowTextW(m_hWnd, text.c_str());
}

DrawingSuspended::DrawingSuspended(const Window& control)
    : m_control(control.Hwnd()), m_style(::GetWindowLongPtrW(m_control, GWL_STYLE)) {
    ::SendMessageW(m_control, WM_SETREDRAW, FALSE, 0);
    ::SetWindowLongPtrW(m_control, GWL_STYLE, m_style & ~static_cast<LONG_PTR>(WS_VISIBLE));
}

DrawingSuspended::~DrawingSuspended() {
    ::SetWindowLongPtrW(m_control, GWL_STYLE, m_style);
    ::SendMessageW(m_control, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TabControl::InsertItem(int index, const std::string& text) const {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text.c_str());
    Send(TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TabControl::GetCurSel() const {
    return static_cast<int>(Send(TCM_GETCURSEL));
}

HTREEITEM TreeControl::InsertItem(const std::wstring& text, HTREEITEM parent, HTREEITEM insertAfter,
                                  LPARAM data) const {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM TreeControl::GetSelectedItem() const {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET));
}

LPARAM TreeControl::GetItemData(HTREEITEM item) const {
    TVITEMA query{};
    query.mask = TVIF_PARAM;
    query.hItem = item;
    return Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)) ? query.lParam : 0;
}

bool TreeControl::ItemHasChildren(HTREEITEM item) const {
    return Send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)) != 0;
}

void ListBox::ResetContent() const {
    Send(LB_RESETCONTENT);
}

int ListBox::AddString(const std::string& text) const {
    return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int ListBox::AddString(const std::wstring& text) const {
    return static_cast<int>(
        ::SendMessageW(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int ListBox::InsertString(int index, const std::wstring& text) const {
    return static_cast<int>(::SendMessageW(m_hWnd, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(text.c_str())));
}

int ListBox::DeleteString(int index) const {
    return static_cast<int>(Send(LB_DELETESTRING, static_cast<WPARAM>(index)));
}

int ListBox::GetCount() const {
    return static_cast<int>(Send(LB_GETCOUNT));
}

int ListBox::GetCurSel() const {
    return static_cast<int>(Send(LB_GETCURSEL));
}

void ListBox::SetCurSel(int index) const {
    Send(LB_SETCURSEL, static_cast<WPARAM>(index));
}

void ListBox::SelectAfterDelete(int deleted) const {
    SetCurSel(deleted == GetCount() ? deleted - 1 : deleted);
}

std::string ListBox::GetText(int index) const {
    const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR || length <= 0) {
        return {};
    }
    // The length may overstate the ANSI form of the text: trust the copy.
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied =
        Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

std::wstring ListBox::GetWideText(int index) const {
    const LRESULT length = ::SendMessageW(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

void ListBox::SetHorizontalExtent(int width) const {
    Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width));
}

void ListBox::InitStorage(int items, int bytes) const {
    Send(LB_INITSTORAGE, static_cast<WPARAM>(items), static_cast<LPARAM>(bytes));
}

void FitHorizontalExtent(const ListBox& list,
                         const std::function<void(const TextVisitor&)>& forEachText) {
    const WindowDC dc(list.Hwnd());
    const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(list.Send(WM_GETFONT)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    int widest = 0;
    forEachText([&](std::wstring_view text) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx + metrics.tmAveCharWidth));
    });
    list.SetHorizontalExtent(widest);
}

void FitHorizontalExtent(const ListBox& list) {
    FitHorizontalExtent(list, [&](const TextVisitor& measure) {
        // The count is asked again for every entry, as the list is the only
        // record of what it holds.
        for (int index = 0; index < list.GetCount(); ++index) {
            measure(list.GetWideText(index));
        }
    });
}

void AskForSelection() {
    ShowMessage(IDS_SELECT_ITEM, MB_OK | MB_ICONHAND);
}

std::optional<int> SelectionOrAsk(const ListBox& list) {
    const int selected = list.GetCurSel();
    if (selected == LB_ERR) {
        AskForSelection();
        return std::nullopt;
    }
    return selected;
}

}  // namespace win
