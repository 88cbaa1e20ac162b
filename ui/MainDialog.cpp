#include "ui/MainDialog.h"

#include <algorithm>
#include <array>
#include <span>

#include "app/resource.h"
#include "hook/PelomiUtil.h"
#include "win/Application.h"
#include "win/Strings.h"
#include "win/UniqueHandle.h"

namespace {

// The program icon at the system's large-icon size, from the application
// object when there is one (a test may construct the dialog without).
HICON LoadProgramIcon() {
    if (win::Application* app = win::Application::TryCurrent()) {
        return app->LoadIcon(IDR_MAINFRAME);
    }
    return ::LoadIconA(win::ResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

// Every control of the three pages, in the order they are hidden.
constexpr std::array kPageControls = {
    IDC_CATEGORY_TREE, IDC_KAOMOJI_LIST,  IDC_ADD_FAVORITE,    IDC_FAVORITE_LIST,
    IDC_FAVORITE_UP,   IDC_FAVORITE_DOWN, IDC_DELETE_FAVORITE, IDC_AA_LIST,
    IDC_NEW_AA,        IDC_EDIT_AA,       IDC_DELETE_AA,
};

// The controls of each page, in the order they are shown.
constexpr std::array kDictionaryPage = {IDC_CATEGORY_TREE, IDC_KAOMOJI_LIST, IDC_ADD_FAVORITE};
constexpr std::array kFavoritesPage = {IDC_FAVORITE_LIST, IDC_FAVORITE_UP, IDC_FAVORITE_DOWN,
                                       IDC_DELETE_FAVORITE};
constexpr std::array kAAPage = {IDC_AA_LIST, IDC_NEW_AA, IDC_EDIT_AA, IDC_DELETE_AA};

void ShowControls(HWND dialog, std::span<const int> ids, int command) {
    for (int id : ids) {
        ::ShowWindow(::GetDlgItem(dialog, id), command);
    }
}

}  // namespace

struct MainDialogMessageMap {
    static constexpr win::MessageEntry kEntries[] = {
        win::OnMessage<&MainDialog::OnPaint>(WM_PAINT),
        win::OnMessage<&MainDialog::OnQueryDragIcon>(WM_QUERYDRAGICON),
        win::OnNotify<&MainDialog::OnSelchangeTab>(TCN_SELCHANGE, IDC_TAB),
        win::OnNotify<&MainDialog::OnCategorySelChanged>(TVN_SELCHANGEDA, IDC_CATEGORY_TREE),
        win::OnCommand<&MainDialog::OnDictionaryListDblClk>(LBN_DBLCLK, IDC_KAOMOJI_LIST),
        win::OnCommand<&MainDialog::OnAddFavorite>(BN_CLICKED, IDC_ADD_FAVORITE),
        win::OnCommand<&MainDialog::OnFavoritesListDblClk>(LBN_DBLCLK, IDC_FAVORITE_LIST),
        win::OnCommand<&MainDialog::OnDeleteFavorite>(BN_CLICKED, IDC_DELETE_FAVORITE),
        win::OnCommand<&MainDialog::OnExit>(0, ID_TRAY_EXIT),
        win::OnCommand<&MainDialog::OnEditAA>(BN_CLICKED, IDC_EDIT_AA),
        win::OnCommand<&MainDialog::OnNewAA>(BN_CLICKED, IDC_NEW_AA),
        win::OnCommand<&MainDialog::OnDeleteAA>(BN_CLICKED, IDC_DELETE_AA),
        win::OnCommand<&MainDialog::OnDblclkAAList>(LBN_DBLCLK, IDC_AA_LIST),
        win::OnCommand<&MainDialog::OnFavoriteUp>(BN_CLICKED, IDC_FAVORITE_UP),
        win::OnCommand<&MainDialog::OnFavoriteDown>(BN_CLICKED, IDC_FAVORITE_DOWN),
    };
};

MainDialog::MainDialog(HWND parent) : Dialog(IDD_MAIN, parent) {
    // Loaded once and never destroyed: the same handle serves as window
    // icon, minimised drawing, drag icon and notification icon.
    m_hIcon = LoadProgramIcon();
}

MainDialog::~MainDialog() = default;

std::span<const win::MessageEntry> MainDialog::GetMessageMap() const {
    return MainDialogMessageMap::kEntries;
}

void MainDialog::DoDataExchange(win::DataExchange& dx) {
    Dialog::DoDataExchange(dx);
    dx.Control(IDC_TAB, m_tab);
    dx.Control(IDC_CATEGORY_TREE, m_categoryTree);
    dx.Control(IDC_KAOMOJI_LIST, m_kaomojiList);
    dx.Control(IDC_ADD_FAVORITE, m_addFavoriteButton);
    dx.Control(IDC_FAVORITE_LIST, m_favoriteList);
    dx.Control(IDC_DELETE_FAVORITE, m_deleteFavoriteButton);
    dx.Control(IDC_AA_LIST, m_aaList);
    dx.Control(IDC_EDIT_AA, m_editAAButton);
    dx.Control(IDC_NEW_AA, m_newAAButton);
    dx.Control(IDC_DELETE_AA, m_deleteAAButton);
    dx.Control(IDC_FAVORITE_UP, m_upButton);
    dx.Control(IDC_FAVORITE_DOWN, m_downButton);
}

BOOL MainDialog::OnInitDialog() {
    Dialog::OnInitDialog();  // binds the controls
    ::SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    InsertTabs();

    if (!LoadDictionary()) {
        // The user has been told; without a dictionary there is nothing to do.
        OnCancel();
        return FALSE;
    }
    LoadFavorites();
    LoadAAList();

    m_hWndSaved = Hwnd();
    SetHook(m_hWndSaved);
    return TRUE;  // the focus goes to the first tab stop, the category tree
}

// The captions are UTF-16 literals converted to the ANSI code page, so
// that the source file's encoding never matters.
void MainDialog::InsertTabs() {
    m_tab.InsertItem(0, win::WideToAnsi(L"辞書"));
    m_tab.InsertItem(1, win::WideToAnsi(L"お気に入り"));
    m_tab.InsertItem(2, win::WideToAnsi(L"AAリスト"));
}

void MainDialog::OnSelchangeTab(NMHDR*, LRESULT* result) {
    ShowControls(Hwnd(), kPageControls, SW_HIDE);
    // The chosen page's controls come back with SW_RESTORE.
    switch (m_tab.GetCurSel()) {
        case 0:
            ShowControls(Hwnd(), kDictionaryPage, SW_RESTORE);
            break;
        case 1:
            ShowControls(Hwnd(), kFavoritesPage, SW_RESTORE);
            break;
        case 2:
            ShowControls(Hwnd(), kAAPage, SW_RESTORE);
            break;
        default:  // no tab selected: every page stays hidden
            break;
    }
    *result = 0;
}

namespace {

// The widest of some texts in `list`'s own font, each widened by the font's
// average character width so that its last character is never cut.
// `forEachText` calls the measuring function it is given with every text.
template <typename ForEachText>
int WidestText(const win::ListBox& list, ForEachText forEachText) {
    win::WindowDC dc(list.Hwnd());
    const auto font = reinterpret_cast<HGDIOBJ>(list.Send(WM_GETFONT));
    win::SelectedObject selected(dc.get(), font);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc.get(), &metrics);

    int widest = 0;
    forEachText([&](std::string_view text) {
        SIZE size{};
        ::GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx + metrics.tmAveCharWidth));
    });
    return widest;
}

}  // namespace

void MainDialog::SetHorizontalExtent(const win::ListBox& list) {
    list.SetHorizontalExtent(WidestText(list, [&](const auto& measure) {
        // The count is asked again for every entry, as the list is the only
        // record of what it holds.
        for (int index = 0; index < list.GetCount(); ++index) {
            measure(list.GetText(index));
        }
    }));
}

void MainDialog::SetHorizontalExtent(const win::ListBox& list, const CategoryMap::List& shown) {
    // The list has just been filled from `shown`: measuring the same texts in
    // memory gives the same extent without reading 10,000s of entries back.
    list.SetHorizontalExtent(WidestText(list, [&](const auto& measure) {
        for (const std::string_view text : shown) {
            measure(text);
        }
    }));
}

void MainDialog::OnPaint() {
    if (!::IsIconic(Hwnd())) {
        Default();
        return;
    }
    win::PaintDC dc(Hwnd());
    ::SendMessageA(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const int x = (static_cast<int>(client.right - client.left) - iconWidth + 1) / 2;
    const int y = (static_cast<int>(client.bottom - client.top) - iconHeight + 1) / 2;
    ::DrawIcon(dc.get(), x, y, m_hIcon);
}

HCURSOR MainDialog::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void MainDialog::CleanUp() {
    m_categoryMap.Clear();
    FreeHook();  // harmless when the dictionary failed and SetHook never ran
}
