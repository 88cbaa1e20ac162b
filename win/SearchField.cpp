#include "win/SearchField.h"

#include <algorithm>
#include <climits>

#include "win/Dialog.h"
#include "win/Strings.h"

namespace win {
namespace {

// Pixels between the field and the controls below it.
constexpr int kGap = 4;

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

}  // namespace

void SearchField::Open(std::wstring_view text) {
    const bool opening = !IsOpen();
    if (opening) {
        m_focusBefore = ::GetFocus();
        MakeRoom();
    }
    ::SendMessageW(DialogWindow(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_field.get()), TRUE);
    if (!opening) {
        // The focus coming back selected the whole text: what is typed goes
        // on at its end.
        const LPARAM end = ::GetWindowTextLengthW(m_field.get());
        ::SendMessageW(m_field.get(), EM_SETSEL, static_cast<WPARAM>(end), end);
    }
    if (!text.empty()) {
        const std::wstring typed(text);
        ::SendMessageW(m_field.get(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed.c_str()));
    }
}

void SearchField::SelectAll() const {
    ::SendMessageW(m_field.get(), EM_SETSEL, 0, -1);
}

// The field goes where the top of the controls above the results was; they
// start lower by its height, keeping their bottoms.
void SearchField::MakeRoom() {
    const HWND dialog = DialogWindow();
    const HWND results = m_setup.results->Hwnd();
    m_placesBefore.clear();
    RECT band{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (const Window* control : m_setup.above) {
        const RECT place = PlaceInDialog(dialog, control->Hwnd());
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
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    const auto font = static_cast<WPARAM>(::SendMessageW(results, WM_GETFONT, 0, 0));
    m_field.reset(::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
        band.left, band.top, band.right - band.left, height, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(m_setup.fieldId)), instance, nullptr));
    ::SendMessageW(m_field.get(), WM_SETFONT, font, FALSE);
    // First in the tab order of the page: just before its first control.
    const HWND before = ::GetWindow(m_setup.above.front()->Hwnd(), GW_HWNDPREV);
    ::SetWindowPos(m_field.get(), before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Window field;
    field.Attach(m_field.get());
    Dialog::ForwardKeys(field);

    const RECT list = PlaceInDialog(dialog, results);
    m_noMatch.reset(::CreateWindowExW(
        0, L"STATIC", m_setup.noMatchText.c_str(), WS_CHILD | SS_CENTER, list.left, list.top,
        list.right - list.left, list.bottom - list.top, dialog,
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
        ::SendMessageW(DialogWindow(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_focusBefore), TRUE);
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

bool SearchField::SelectsNoText() const {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(m_field.get(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return start == end;
}

void SearchField::ShowNoMatch(bool show) {
    if (!IsOpen() || show == (::IsWindowVisible(m_noMatch.get()) != FALSE)) {
        return;
    }
    ::ShowWindow(m_setup.results->Hwnd(), show ? SW_HIDE : SW_SHOW);
    ::ShowWindow(m_noMatch.get(), show ? SW_SHOW : SW_HIDE);
}

void SearchField::MoveInResults(UINT key) const {
    ::SendMessageW(m_setup.results->Hwnd(), WM_KEYDOWN, key, 0);
}

}  // namespace win
