#include "win/SearchField.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "win/MessageBox.h"
#include "win/Strings.h"

namespace win {
namespace {

constexpr UINT_PTR kSubclassId = 0x5EA2;
// Pixels between the field and the controls below it.
constexpr int kGap = 4;

bool Held(int virtualKey) {
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

bool OnlyCtrlHeld() {
    return Held(VK_CONTROL) && !Held(VK_SHIFT) && !Held(VK_MENU);
}

bool IsRepeat(LPARAM keyData) {
    return (keyData & (1L << 30)) != 0;
}

// A character that starts a search: printable, and not the space, which
// keeps its meaning on the lists (deliver) and the tree.
bool OpensSearch(WPARAM character) {
    return character > L' ' && character != 0x7F;
}

RECT PlaceInDialog(HWND dialog, HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Place(HWND control, const RECT& rect) {
    ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int FieldHeight(HWND fontSource) {
    const WindowDC dc(fontSource);
    const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(
                                            ::SendMessageW(fontSource, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight + 2 * ::GetSystemMetrics(SM_CYEDGE) + 4;
}

// Runs a subclass procedure's work; nothing thrown leaves the callback.
template <typename Work>
bool Guarded(Work work) noexcept {
    try {
        return work();
    } catch (...) {
        ReportException(std::current_exception());
        return true;
    }
}

}  // namespace

namespace {

// The field of each watched control of this thread. Not a window property:
// the procedure looks it up for every message (a list box being filled gets
// one per entry), and under Wine a property costs a round trip to the server.
thread_local std::vector<std::pair<HWND, SearchField*>> t_fieldOf;

SearchField* FieldOf(HWND window) {
    for (const auto& [watched, field] : t_fieldOf) {
        if (watched == window) {
            return field;
        }
    }
    return nullptr;
}

void Forget(HWND window) {
    std::erase_if(t_fieldOf, [&](const auto& entry) { return entry.first == window; });
}

}  // namespace

SearchField::~SearchField() {
    std::erase_if(t_fieldOf, [&](const auto& entry) { return entry.second == this; });
}

void SearchField::Attach(HWND dialog) {
    m_dialog = dialog;
    m_watched.reserve(m_setup.watched.size());
    for (const Window* control : m_setup.watched) {
        const HWND window = control->Hwnd();
        const bool unicode = ::IsWindowUnicode(window) != FALSE;
        t_fieldOf.emplace_back(window, this);
        const auto proc = reinterpret_cast<LONG_PTR>(&WatchedProc);
        const LONG_PTR super = unicode ? ::SetWindowLongPtrW(window, GWLP_WNDPROC, proc)
                                       : ::SetWindowLongPtrA(window, GWLP_WNDPROC, proc);
        m_watched.push_back({window, reinterpret_cast<WNDPROC>(super), unicode, 0});
    }
}

SearchField::Watched* SearchField::FindWatched(HWND window) {
    for (Watched& watched : m_watched) {
        if (watched.window == window) {
            return &watched;
        }
    }
    return nullptr;
}

wchar_t SearchField::CharacterOf(Watched& watched, WPARAM wParam) {
    if (watched.unicode) {
        return static_cast<wchar_t>(wParam);
    }
    const char byte = static_cast<char>(wParam);
    char bytes[2] = {watched.pendingLead, byte};
    const bool pair = watched.pendingLead != 0;
    watched.pendingLead = 0;
    if (!pair && ::IsDBCSLeadByte(static_cast<BYTE>(byte))) {
        watched.pendingLead = byte;
        return 0;
    }
    wchar_t character = 0;
    ::MultiByteToWideChar(CP_ACP, 0, pair ? bytes : bytes + 1, pair ? 2 : 1, &character, 1);
    return character;
}

void SearchField::Open(std::wstring_view text) {
    if (!IsOpen()) {
        m_focusBefore = ::GetFocus();
        MakeRoom();
        Notify(kSearchOpened);
    }
    ::SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_field.get()), TRUE);
    if (!text.empty()) {
        const std::wstring typed(text);
        ::SendMessageW(m_field.get(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed.c_str()));
    }
}

// The field goes where the top of the controls above the results was; they
// start lower by its height, keeping their bottoms.
void SearchField::MakeRoom() {
    const HWND results = m_setup.results->Hwnd();
    m_placesBefore.clear();
    RECT band{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (const Window* control : m_setup.above) {
        const RECT place = PlaceInDialog(m_dialog, control->Hwnd());
        m_placesBefore.push_back(place);
        band.left = std::min(band.left, place.left);
        band.top = std::min(band.top, place.top);
        band.right = std::max(band.right, place.right);
    }
    const int height = FieldHeight(results);
    for (std::size_t i = 0; i < m_setup.above.size(); ++i) {
        RECT place = m_placesBefore[i];
        place.top = std::max(place.top, band.top + height + kGap);
        Place(m_setup.above[i]->Hwnd(), place);
    }
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(m_dialog, GWLP_HINSTANCE));
    const auto font = static_cast<WPARAM>(::SendMessageW(results, WM_GETFONT, 0, 0));
    m_field.reset(::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
        band.left, band.top, band.right - band.left, height, m_dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(m_setup.fieldId)), instance, nullptr));
    ::SendMessageW(m_field.get(), WM_SETFONT, font, FALSE);
    // First in the tab order of the page: just before its first control.
    const HWND before = ::GetWindow(m_setup.above.front()->Hwnd(), GW_HWNDPREV);
    ::SetWindowPos(m_field.get(), before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowSubclass(m_field.get(), &FieldProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

    const RECT list = PlaceInDialog(m_dialog, results);
    m_noMatch.reset(::CreateWindowExW(
        0, L"STATIC", m_setup.noMatchText.c_str(), WS_CHILD | SS_CENTER, list.left, list.top,
        list.right - list.left, list.bottom - list.top, m_dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(m_setup.noMatchId)), instance, nullptr));
    ::SendMessageW(m_noMatch.get(), WM_SETFONT, font, FALSE);
}

void SearchField::Close() {
    if (!IsOpen()) {
        return;
    }
    ShowNoMatch(false);
    for (std::size_t i = 0; i < m_setup.above.size(); ++i) {
        Place(m_setup.above[i]->Hwnd(), m_placesBefore[i]);
    }
    // The focus leaves the field before it goes, for where it was before;
    // elsewhere (the tab control, after a page change) it stays.
    if (::GetFocus() == m_field.get() && ::IsWindowVisible(m_focusBefore)) {
        ::SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_focusBefore), TRUE);
    }
    m_noMatch.reset();
    m_field.reset();
}

std::string SearchField::Text() const {
    const std::wstring text = GrowUntilFits<wchar_t>([&](wchar_t* buffer, int capacity) {
        return ::GetWindowTextW(m_field.get(), buffer, capacity);
    });
    return WideToUtf8(text);
}

void SearchField::ShowNoMatch(bool show) {
    if (!IsOpen() || show == ::IsWindowVisible(m_noMatch.get())) {
        return;
    }
    ::ShowWindow(m_setup.results->Hwnd(), show ? SW_HIDE : SW_SHOW);
    ::ShowWindow(m_noMatch.get(), show ? SW_SHOW : SW_HIDE);
}

void SearchField::Notify(UINT code) const {
    ::SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(m_setup.fieldId, code),
                   reinterpret_cast<LPARAM>(m_field.get()));
}

void SearchField::NotifyFromResults(UINT code) const {
    const HWND results = m_setup.results->Hwnd();
    ::SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(results), code),
                   reinterpret_cast<LPARAM>(results));
}

void SearchField::CloseByKey() {
    Close();
    Notify(kSearchClosed);
}

// Enter and Escape would go to the dialog manager (OK and Cancel): the field
// and, while it is open, the watched controls ask for them.
bool SearchField::WantsKey(HWND control, const MSG* message) const {
    if (message == nullptr || message->message != WM_KEYDOWN) {
        return false;
    }
    const bool field = control == m_field.get();
    const bool results = control == m_setup.results->Hwnd();
    switch (message->wParam) {
        case VK_ESCAPE:
            return IsOpen();
        case VK_RETURN:
            return IsOpen() && (field || results);
        default:
            return false;
    }
}

bool SearchField::OnFieldKey(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        // Their key-down did the work; the edit would only beep.
        return wParam == L'\r' || wParam == 0x1B;
    }
    if (message != WM_KEYDOWN) {
        return false;
    }
    switch (wParam) {
        case VK_RETURN:
            if (!IsRepeat(lParam)) {
                NotifyFromResults(LBN_DBLCLK);
            }
            return true;
        case VK_ESCAPE:
            CloseByKey();
            return true;
        case VK_DOWN:
        case VK_UP:
        case VK_NEXT:
        case VK_PRIOR:
            ::SendMessageW(m_setup.results->Hwnd(), WM_KEYDOWN, wParam, lParam);
            return true;
        case 'C': {
            DWORD start = 0;
            DWORD end = 0;
            ::SendMessageW(m_field.get(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                           reinterpret_cast<LPARAM>(&end));
            if (!OnlyCtrlHeld() || start != end) {
                return false;  // the field's own copy of its selected text
            }
            if (!IsRepeat(lParam)) {
                NotifyFromResults(m_setup.copyCode);
            }
            return true;
        }
        default:
            return false;
    }
}

bool SearchField::OnWatchedKey(Watched& control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR && !Held(VK_CONTROL) && (control.pendingLead != 0 || wParam >= 0x80 ||
                                                     OpensSearch(wParam))) {
        const wchar_t character = CharacterOf(control, wParam);
        if (character != 0) {
            Open(std::wstring(1, character));
        }
        return true;
    }
    if (message == WM_IME_STARTCOMPOSITION) {
        // The composition goes on in the field, where the focus moves.
        Open();
        return false;
    }
    if (message != WM_KEYDOWN) {
        return false;
    }
    if (wParam == 'F' && OnlyCtrlHeld()) {
        Open();
        ::SendMessageW(m_field.get(), EM_SETSEL, 0, -1);
        return true;
    }
    if (wParam == VK_ESCAPE && IsOpen()) {
        CloseByKey();
        return true;
    }
    if (wParam == VK_RETURN && IsOpen() && control.window == m_setup.results->Hwnd()) {
        if (!IsRepeat(lParam)) {
            NotifyFromResults(LBN_DBLCLK);
        }
        return true;
    }
    return false;
}

LRESULT CALLBACK SearchField::FieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR data) {
    auto& self = *reinterpret_cast<SearchField*>(data);
    switch (message) {
        case WM_GETDLGCODE: {
            const LRESULT code = ::DefSubclassProc(window, message, wParam, lParam);
            return self.WantsKey(window, reinterpret_cast<const MSG*>(lParam))
                       ? code | DLGC_WANTMESSAGE
                       : code;
        }
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, &FieldProc, kSubclassId);
            if (self.m_field.get() == window) {
                self.m_field.release();  // gone with the dialog
            }
            break;
        default:
            if (Guarded([&] { return self.OnFieldKey(message, wParam, lParam); })) {
                return 0;
            }
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK SearchField::WatchedProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    SearchField* self = FieldOf(window);
    Watched* watched = self != nullptr ? self->FindWatched(window) : nullptr;
    if (watched == nullptr) {  // cannot be: the entry comes and goes with the procedure
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    const auto super = [&](UINT m, WPARAM w, LPARAM l) {
        return watched->unicode ? ::CallWindowProcW(watched->superProc, window, m, w, l)
                                : ::CallWindowProcA(watched->superProc, window, m, w, l);
    };
    switch (message) {
        case WM_GETDLGCODE: {
            const LRESULT code = super(message, wParam, lParam);
            return self->WantsKey(window, reinterpret_cast<const MSG*>(lParam))
                       ? code | DLGC_WANTMESSAGE
                       : code;
        }
        case WM_NCDESTROY: {
            Forget(window);
            const Watched gone = *watched;
            std::erase_if(self->m_watched, [&](const Watched& w) { return w.window == window; });
            return gone.unicode ? ::CallWindowProcW(gone.superProc, window, message, wParam, lParam)
                                : ::CallWindowProcA(gone.superProc, window, message, wParam, lParam);
        }
        default:
            if (Guarded([&] { return self->OnWatchedKey(*watched, message, wParam, lParam); })) {
                return 0;
            }
    }
    return super(message, wParam, lParam);
}

}  // namespace win
