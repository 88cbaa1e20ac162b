#include "ui/EditAADialog.h"

#include <array>

#include "aa/AAStore.h"
#include "ui/ResourceIds.h"
#include "text/Mbcs.h"
#include "win/Controls.h"
#include "win/FileSystem.h"
#include "win/MessageBox.h"
#include "win/Strings.h"

namespace {

// Room the text box leaves to the right and below it, and the buttons'
// distance from the bottom of the client area.
constexpr int kTextRightMargin = 32;
constexpr int kTextBottomMargin = 120;
constexpr int kButtonBottomMargin = 14;

// The rectangle of `child` in the client coordinates of `dialog`.
RECT ChildRect(HWND dialog, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The control's own procedure set again through the wide function: the
// control is then a Unicode window, so a character typed on it reaches it as
// UTF-16 even when the code page has no form for it.
void MakeUnicodeWindow(HWND control) {
    ::SetWindowLongPtrW(control, GWLP_WNDPROC, ::GetWindowLongPtrW(control, GWLP_WNDPROC));
}

}  // namespace

EditAADialog::EditAADialog(HWND parent) : win::Dialog(IDD_EDIT_AA, parent) {}

std::span<const win::MessageEntry> EditAADialog::GetMessageMap() const {
    static constexpr std::array<win::MessageEntry, 2> kMap = {
        win::OnMessage<&EditAADialog::OnSize>(WM_SIZE),
        win::OnCommand<&EditAADialog::OnOKClicked>(BN_CLICKED, IDOK),
    };
    return kMap;
}

void EditAADialog::DoDataExchange(win::DataExchange& dx) {
    win::Dialog::DoDataExchange(dx);
    dx.Text(IDC_AA_TITLE, m_title);
    dx.Text(IDC_AA_TEXT, m_text);
}

BOOL EditAADialog::OnInitDialog() {
    win::Dialog::OnInitDialog();
    for (const int id : {IDC_AA_TITLE, IDC_AA_TEXT}) {
        MakeUnicodeWindow(GetDlgItem(id));
    }
    const HWND text = GetDlgItem(IDC_AA_TEXT);
    ::SendMessageA(text, EM_SETLIMITTEXT, 0x7FFFFFFF, 0);
    ::ShowScrollBar(text, SB_BOTH, TRUE);
    return TRUE;
}

void EditAADialog::OnSize(UINT, int cx, int cy) {
    Default();
    // A client area of exactly the minimum numbers is taken as laid out.
    if (cx == kMinimumWidth && cy == kMinimumHeight) {
        return;
    }
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    if (!EnforceMinimumSize(window)) {
        return;  // the move sends a new WM_SIZE, which lays the controls out
    }
    // WM_SIZE also arrives while the window is being created, before its
    // controls exist: leave alone what is not there yet.
    if (const HWND text = GetDlgItem(IDC_AA_TEXT)) {
        const RECT rect = ChildRect(Hwnd(), text);
        ::MoveWindow(text, rect.left, rect.top, cx - kTextRightMargin, cy - kTextBottomMargin,
                     TRUE);
    }
    // OK ends a quarter of its width left of the middle, Cancel begins a
    // quarter of its width right of it.
    PlaceButton(IDOK, cx, cy, ButtonSide::LeftOfMiddle);
    PlaceButton(IDCANCEL, cx, cy, ButtonSide::RightOfMiddle);
}

void EditAADialog::PlaceButton(int id, int cx, int cy, ButtonSide side) {
    const HWND button = GetDlgItem(id);
    if (button == nullptr) {
        return;
    }
    const RECT rect = ChildRect(Hwnd(), button);
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    const int x = side == ButtonSide::LeftOfMiddle ? cx / 2 - w - w / 4 : cx / 2 + w / 4;
    ::MoveWindow(button, x, cy - h - kButtonBottomMargin, w, h, TRUE);
}

bool EditAADialog::EnforceMinimumSize(const RECT& window) {
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int newWidth = width < kMinimumWidth ? kMinimumWidth : width;
    const int newHeight = height < kMinimumHeight ? kMinimumHeight : height;
    if (newWidth == width && newHeight == height) {
        return true;
    }
    ::MoveWindow(Hwnd(), window.left, window.top, newWidth, newHeight, TRUE);
    return false;
}

std::wstring EditAADialog::TitleText() const {
    win::Window title;
    title.Attach(GetDlgItem(IDC_AA_TITLE));
    return title.WideText();
}

void EditAADialog::OnOKClicked() {
    const std::wstring title = TitleText();
    const HWND titleBox = GetDlgItem(IDC_AA_TITLE);
    // The trimmed title only decides whether anything was typed; the title
    // handed back and the file name keep their spaces.
    if (text::TrimSingleByteSpace(win::WideToUtf8(title), &text::NoLeadByte).empty()) {
        win::ShowMessage(IDS_ENTER_AA_TITLE, MB_OK | MB_ICONHAND);
        ::SetFocus(titleBox);
        return;
    }
    // A title must name a file inside the AA folder and nowhere else.
    if (!AAStore().IsUsableTitle(title)) {
        win::ShowMessage(IDS_BAD_AA_TITLE, MB_OK | MB_ICONHAND);
        ::SetFocus(titleBox);
        return;
    }
    if (m_isNew && !ConfirmOverwrite()) {
        return;
    }
    OnOK();
}

bool EditAADialog::ConfirmOverwrite() {
    const std::wstring path = AAStore().PathForTitle(TitleText());
    if (!win::AnythingMatches(path)) {
        return true;
    }
    return win::ShowMessage(IDS_AA_EXISTS, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
