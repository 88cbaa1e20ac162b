#include "ui/MainDialog.h"

#include <array>
#include <span>

#include "app/resource.h"
#include "ui/EditAADialog.h"
#include "win/Application.h"
#include "win/MessageBox.h"
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

template <typename Load>
void LoadPage(Load load) noexcept {
    try {
        load();
    } catch (...) {
        win::ReportException(std::current_exception());
    }
}

void ShowControls(HWND dialog, std::span<const int> ids, int command) {
    for (int id : ids) {
        ::ShowWindow(::GetDlgItem(dialog, id), command);
    }
}

}  // namespace

struct MainDialogMessageMap {
    using D = MainDialog;
    static constexpr win::MessageEntry kEntries[] = {
        win::OnMessage<&D::OnPaint>(WM_PAINT),
        win::OnMessage<&D::OnQueryDragIcon>(WM_QUERYDRAGICON),
        win::OnNotify<&D::OnSelchangeTab>(TCN_SELCHANGE, IDC_TAB),
        win::OnNotify<&DictionaryPage::OnCategorySelChanged, &D::m_dictionary>(TVN_SELCHANGEDA,
                                                                               IDC_CATEGORY_TREE),
        win::OnCommand<&DictionaryPage::OnDictionaryListDblClk, &D::m_dictionary>(LBN_DBLCLK,
                                                                                  IDC_KAOMOJI_LIST),
        win::OnCommand<&FavoritesPage::OnAddFavorite, &D::m_favorites>(BN_CLICKED,
                                                                       IDC_ADD_FAVORITE),
        win::OnCommand<&FavoritesPage::OnFavoritesListDblClk, &D::m_favorites>(LBN_DBLCLK,
                                                                               IDC_FAVORITE_LIST),
        win::OnCommand<&FavoritesPage::OnDeleteFavorite, &D::m_favorites>(BN_CLICKED,
                                                                          IDC_DELETE_FAVORITE),
        win::OnCommand<&TrayIcon::OnExit, &D::m_tray>(0, ID_TRAY_EXIT),
        win::OnCommand<&AAPage::OnEditAA, &D::m_aa>(BN_CLICKED, IDC_EDIT_AA),
        win::OnCommand<&AAPage::OnNewAA, &D::m_aa>(BN_CLICKED, IDC_NEW_AA),
        win::OnCommand<&AAPage::OnDeleteAA, &D::m_aa>(BN_CLICKED, IDC_DELETE_AA),
        win::OnCommand<&AAPage::OnDblclkAAList, &D::m_aa>(LBN_DBLCLK, IDC_AA_LIST),
        win::OnCommand<&FavoritesPage::OnFavoriteUp, &D::m_favorites>(BN_CLICKED, IDC_FAVORITE_UP),
        win::OnCommand<&FavoritesPage::OnFavoriteDown, &D::m_favorites>(BN_CLICKED,
                                                                        IDC_FAVORITE_DOWN),
        // The keyboard (ui/GlobalHotkey.h, ui/ListKeys.h).
        win::OnMessage<&D::OnHotkey>(WM_HOTKEY),
        win::OnMessage<&D::OnDestroy>(WM_DESTROY),
        win::OnCommand<&DictionaryPage::OnCopyKaomoji, &D::m_dictionary>(
            listkeys::kCopySelection, IDC_KAOMOJI_LIST),
        win::OnCommand<&FavoritesPage::OnCopyFavorite, &D::m_favorites>(
            listkeys::kCopySelection, IDC_FAVORITE_LIST),
        // The search field of the dictionary page (win/SearchField.h).
        win::OnCommand<&DictionaryPage::OnSearchOpened, &D::m_dictionary>(win::kSearchOpened,
                                                                          IDC_KAOMOJI_SEARCH),
        win::OnCommand<&DictionaryPage::OnSearchChanged, &D::m_dictionary>(EN_CHANGE,
                                                                           IDC_KAOMOJI_SEARCH),
        win::OnCommand<&DictionaryPage::OnSearchClosed, &D::m_dictionary>(win::kSearchClosed,
                                                                          IDC_KAOMOJI_SEARCH),
        // And of the favourites page.
        win::OnCommand<&FavoritesPage::OnSearchChanged, &D::m_favorites>(EN_CHANGE,
                                                                         IDC_FAVORITE_SEARCH),
        win::OnCommand<&FavoritesPage::OnSearchClosed, &D::m_favorites>(win::kSearchClosed,
                                                                        IDC_FAVORITE_SEARCH),
    };
};

// Loaded once and never destroyed: the same handle serves as window icon,
// minimised drawing, drag icon and notification icon.
MainDialog::MainDialog(HWND parent)
    : Dialog(IDD_MAIN, parent),
      m_hIcon(LoadProgramIcon()),
      m_tray(*this, m_hIcon, m_favorites, m_delivery) {}

MainDialog::~MainDialog() = default;

std::span<const win::MessageEntry> MainDialog::GetMessageMap() const {
    return MainDialogMessageMap::kEntries;
}

void MainDialog::DoDataExchange(win::DataExchange& dx) {
    Dialog::DoDataExchange(dx);
    dx.Control(IDC_TAB, m_tab);
    dx.Control(IDC_CATEGORY_TREE, m_categoryTree);
    dx.Control(IDC_KAOMOJI_LIST, m_kaomojiList);
    dx.Control(IDC_FAVORITE_LIST, m_favoriteList);
    dx.Control(IDC_AA_LIST, m_aaList);
}

BOOL MainDialog::OnInitDialog() {
    Dialog::OnInitDialog();  // binds the controls
    ::SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    InsertTabs();

    if (!m_dictionary.LoadDictionary()) {
        // The user has been told; without a dictionary there is nothing to do.
        OnCancel();
        return FALSE;
    }
    // Whatever fails here is told once; the rest of the start, the tracking
    // of the user's window above all, goes on.
    LoadPage([this] { m_favorites.LoadFavorites(); });
    LoadPage([this] { m_aa.LoadAAList(); });

    m_tray.SaveWindowHandle(Hwnd());
    m_delivery.StartTracking(Hwnd());
    StartKeyboard();
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
    m_dictionary.CloseSearch();
    m_favorites.CloseSearch();
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

// Every message the message table leaves alone passes here on its way to the
// default processing, which it always reaches.
LRESULT MainDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    m_tray.OnWindowMessage(message, lParam);
    return Dialog::DefWindowProc(message, wParam, lParam);
}

bool MainDialog::OnCmdMsg(UINT id, UINT code) {
    m_tray.OnCommand(id, code);
    return Dialog::OnCmdMsg(id, code);
}

// The window is gone: its icon must not outlive it.
void MainDialog::PostNcDestroy() {
    m_tray.RemoveTrayIcon();
    Dialog::PostNcDestroy();
}

std::optional<AAPiece> MainDialog::EditAA(AAPiece piece, bool isNew) {
    EditAADialog editor;
    editor.m_title = std::move(piece.title);
    editor.m_text = std::move(piece.text);
    editor.m_isNew = isNew;
    if (editor.DoModal() != IDOK) {
        return std::nullopt;
    }
    return AAPiece{std::move(editor.m_title), std::move(editor.m_text)};
}

void MainDialog::StartKeyboard() {
    if (m_hotkeyChoice.kind == hotkey::Choice::Kind::Combination) {
        m_hotkey = hotkey::Register(Hwnd(), m_hotkeyChoice.combination);
    }
    // Told once, where it does not stop the start: in the icon's tip.
    m_tray.SetTip(hotkey::TrayTip(m_hotkeyChoice, static_cast<bool>(m_hotkey)));
    m_listKeys.emplace(Hwnd());
    m_dictionary.AttachSearch(Hwnd());
    m_favorites.AttachSearch(Hwnd());
}

void MainDialog::OnDestroy() {
    m_hotkey.reset();
    m_listKeys.reset();
    Default();
}

LRESULT MainDialog::OnHotkey(WPARAM id, LPARAM) {
    if (id != hotkey::kHotkeyId) {
        return 0;
    }
    if (::GetForegroundWindow() == Hwnd()) {
        // Back where it came from, as the minimise box sends it.
        ::SendMessageA(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else {
        ComeForward();
    }
    return 0;
}

void MainDialog::ComeForward() {
    // The window in front is the one the hotkey was pressed in: noted now,
    // before Pelo takes the foreground, it is where a paste goes.
    m_delivery.NoteForegroundWindow();
    if (!::IsWindowVisible(Hwnd())) {
        m_tray.RestoreFromTray();
    } else if (::IsIconic(Hwnd())) {
        ::ShowWindow(Hwnd(), SW_RESTORE);
    }
    if (!::IsWindowEnabled(Hwnd())) {
        // The AA editor or a message is open: that is where Pelo stands.
        ::SetForegroundWindow(::GetLastActivePopup(Hwnd()));
        return;
    }
    ::SetForegroundWindow(Hwnd());
    if (const HWND list = CurrentPageList()) {
        ::SendMessageA(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    }
}

// The list of the page on show, or its search field while that is open; on
// the dictionary page the tree while no category's kaomoji are listed.
HWND MainDialog::CurrentPageList() const {
    switch (m_tab.GetCurSel()) {
        case 0:
            if (m_dictionary.IsSearching()) {
                return GetDlgItem(IDC_KAOMOJI_SEARCH);
            }
            return m_kaomojiList.GetCount() > 0 ? m_kaomojiList.Hwnd() : m_categoryTree.Hwnd();
        case 1:
            return m_favorites.IsSearching() ? GetDlgItem(IDC_FAVORITE_SEARCH) : m_favoriteList.Hwnd();
        case 2:
            return m_aaList.Hwnd();
        default:
            return nullptr;
    }
}

void MainDialog::CleanUp() {
    m_dictionary.FreeDictionary();
    m_delivery.StopTracking();  // harmless when the dictionary failed and tracking never began
}
