#include "ui/MainDialog.h"

#include <array>
#include <span>

#include "dictionary/ResourceIds.h"
#include "favorites/ResourceIds.h"
#include "ui/EditAADialog.h"
#include "ui/ResourceIds.h"
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

// The pages in the order of their tabs.
constexpr std::array<std::span<const int>, 3> kPages = {kDictionaryPage, kFavoritesPage, kAAPage};

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

// Every message the dialog handles, the tray's and the keyboard's included.
struct MainDialogMessageMap {
    using D = MainDialog;
    static constexpr win::MessageEntry kEntries[] = {
        // The window and its tabs.
        win::OnMessage<&D::OnPaint>(WM_PAINT),
        win::OnMessage<&D::OnQueryDragIcon>(WM_QUERYDRAGICON),
        win::OnNotify<&D::OnSelchangeTab>(TCN_SELCHANGE, IDC_TAB),
        win::OnMessage<&D::OnDestroy>(WM_DESTROY),

        // The dictionary page.
        win::OnNotify<&DictionaryPage::OnCategorySelChanged, &D::m_dictionary>(TVN_SELCHANGEDA,
                                                                               IDC_CATEGORY_TREE),
        win::OnCommand<&DictionaryPage::OnDictionaryListDblClk, &D::m_dictionary>(LBN_DBLCLK,
                                                                                  IDC_KAOMOJI_LIST),
        win::OnKey<&DictionaryPage::OnDictionaryListDblClk, &D::m_dictionary>(
            IDC_KAOMOJI_LIST, VK_SPACE, win::kNoModifier),
        win::OnKey<&DictionaryPage::OnCopyKaomoji, &D::m_dictionary>(IDC_KAOMOJI_LIST, 'C',
                                                                     win::kCtrl),

        // Its search field (win/SearchField.h). Typing or Ctrl+F on the tree
        // or the list opens it; while it is open, Escape there closes it and
        // Enter on the list delivers.
        win::OnTyping<&DictionaryPage::TypeInSearch, &D::m_dictionary>(IDC_CATEGORY_TREE),
        win::OnTyping<&DictionaryPage::TypeInSearch, &D::m_dictionary>(IDC_KAOMOJI_LIST),
        win::OnKey<&DictionaryPage::OpenSearch, &D::m_dictionary>(IDC_CATEGORY_TREE, 'F',
                                                                  win::kCtrl),
        win::OnKey<&DictionaryPage::OpenSearch, &D::m_dictionary>(IDC_KAOMOJI_LIST, 'F',
                                                                  win::kCtrl),
        win::OnKey<&DictionaryPage::CloseSearch, &D::m_dictionary, &DictionaryPage::IsSearching>(
            IDC_CATEGORY_TREE, VK_ESCAPE, win::kNoModifier),
        win::OnKey<&DictionaryPage::CloseSearch, &D::m_dictionary, &DictionaryPage::IsSearching>(
            IDC_KAOMOJI_LIST, VK_ESCAPE, win::kNoModifier),
        win::OnKey<&DictionaryPage::OnDictionaryListDblClk, &D::m_dictionary,
                   &DictionaryPage::IsSearching>(IDC_KAOMOJI_LIST, VK_RETURN, win::kNoModifier),
        // In the field: the results list's keys, Enter delivers, Ctrl+C
        // copies (unless the field has text selected), Escape closes it.
        win::OnCommand<&DictionaryPage::OnSearchChanged, &D::m_dictionary>(EN_CHANGE,
                                                                           IDC_KAOMOJI_SEARCH),
        win::OnKey<&DictionaryPage::OnSearchKey, &D::m_dictionary>(
            IDC_KAOMOJI_SEARCH, VK_DOWN, win::kNoModifier, win::kEveryRepeat),
        win::OnKey<&DictionaryPage::OnSearchKey, &D::m_dictionary>(
            IDC_KAOMOJI_SEARCH, VK_UP, win::kNoModifier, win::kEveryRepeat),
        win::OnKey<&DictionaryPage::OnSearchKey, &D::m_dictionary>(
            IDC_KAOMOJI_SEARCH, VK_NEXT, win::kNoModifier, win::kEveryRepeat),
        win::OnKey<&DictionaryPage::OnSearchKey, &D::m_dictionary>(
            IDC_KAOMOJI_SEARCH, VK_PRIOR, win::kNoModifier, win::kEveryRepeat),
        win::OnKey<&DictionaryPage::OnDictionaryListDblClk, &D::m_dictionary>(
            IDC_KAOMOJI_SEARCH, VK_RETURN, win::kNoModifier),
        win::OnKey<&DictionaryPage::OnCopyKaomoji, &D::m_dictionary,
                   &DictionaryPage::SearchSelectsNoText>(IDC_KAOMOJI_SEARCH, 'C', win::kCtrl),
        win::OnKey<&DictionaryPage::CloseSearch, &D::m_dictionary>(IDC_KAOMOJI_SEARCH, VK_ESCAPE,
                                                                   win::kNoModifier),

        // The favourites page.
        win::OnCommand<&FavoritesPage::OnAddFavorite, &D::m_favorites>(BN_CLICKED,
                                                                       IDC_ADD_FAVORITE),
        win::OnCommand<&FavoritesPage::OnFavoritesListDblClk, &D::m_favorites>(LBN_DBLCLK,
                                                                               IDC_FAVORITE_LIST),
        win::OnKey<&FavoritesPage::OnFavoritesListDblClk, &D::m_favorites>(
            IDC_FAVORITE_LIST, VK_SPACE, win::kNoModifier),
        win::OnKey<&FavoritesPage::OnCopyFavorite, &D::m_favorites>(IDC_FAVORITE_LIST, 'C',
                                                                    win::kCtrl),
        win::OnCommand<&FavoritesPage::OnDeleteFavorite, &D::m_favorites>(BN_CLICKED,
                                                                          IDC_DELETE_FAVORITE),
        win::OnCommand<&FavoritesPage::OnFavoriteUp, &D::m_favorites>(BN_CLICKED, IDC_FAVORITE_UP),
        win::OnCommand<&FavoritesPage::OnFavoriteDown, &D::m_favorites>(BN_CLICKED,
                                                                        IDC_FAVORITE_DOWN),

        // Its search field, with the dictionary page's keys.
        win::OnTyping<&FavoritesPage::TypeInSearch, &D::m_favorites>(IDC_FAVORITE_LIST),
        win::OnKey<&FavoritesPage::OpenSearch, &D::m_favorites>(IDC_FAVORITE_LIST, 'F',
                                                                win::kCtrl),
        win::OnKey<&FavoritesPage::CloseSearch, &D::m_favorites, &FavoritesPage::IsSearching>(
            IDC_FAVORITE_LIST, VK_ESCAPE, win::kNoModifier),
        win::OnKey<&FavoritesPage::OnFavoritesListDblClk, &D::m_favorites,
                   &FavoritesPage::IsSearching>(IDC_FAVORITE_LIST, VK_RETURN, win::kNoModifier),
        win::OnCommand<&FavoritesPage::OnSearchChanged, &D::m_favorites>(EN_CHANGE,
                                                                         IDC_FAVORITE_SEARCH),
        win::OnKey<&FavoritesPage::OnSearchKey, &D::m_favorites>(
            IDC_FAVORITE_SEARCH, VK_DOWN, win::kNoModifier, win::kEveryRepeat),
        win::OnKey<&FavoritesPage::OnSearchKey, &D::m_favorites>(
            IDC_FAVORITE_SEARCH, VK_UP, win::kNoModifier, win::kEveryRepeat),
        win::OnKey<&FavoritesPage::OnSearchKey, &D::m_favorites>(
            IDC_FAVORITE_SEARCH, VK_NEXT, win::kNoModifier, win::kEveryRepeat),
        win::OnKey<&FavoritesPage::OnSearchKey, &D::m_favorites>(
            IDC_FAVORITE_SEARCH, VK_PRIOR, win::kNoModifier, win::kEveryRepeat),
        win::OnKey<&FavoritesPage::OnFavoritesListDblClk, &D::m_favorites>(
            IDC_FAVORITE_SEARCH, VK_RETURN, win::kNoModifier),
        win::OnKey<&FavoritesPage::OnCopyFavorite, &D::m_favorites,
                   &FavoritesPage::SearchSelectsNoText>(IDC_FAVORITE_SEARCH, 'C', win::kCtrl),
        win::OnKey<&FavoritesPage::CloseSearch, &D::m_favorites>(IDC_FAVORITE_SEARCH, VK_ESCAPE,
                                                                 win::kNoModifier),

        // The AA page: its double-click and Ctrl+C only copy.
        win::OnCommand<&AAPage::OnEditAA, &D::m_aa>(BN_CLICKED, IDC_EDIT_AA),
        win::OnCommand<&AAPage::OnNewAA, &D::m_aa>(BN_CLICKED, IDC_NEW_AA),
        win::OnCommand<&AAPage::OnDeleteAA, &D::m_aa>(BN_CLICKED, IDC_DELETE_AA),
        win::OnCommand<&AAPage::OnDblclkAAList, &D::m_aa>(LBN_DBLCLK, IDC_AA_LIST),
        win::OnKey<&AAPage::OnDblclkAAList, &D::m_aa>(IDC_AA_LIST, 'C', win::kCtrl),

        // The notification area (ui/Tray.h). The icon's messages go on to the
        // default processing, as every message the table does not take.
        win::OnMessage<&TrayIcon::OnWindowPosChanged, &D::m_tray>(WM_WINDOWPOSCHANGED,
                                                                  win::kThenDefault),
        win::OnMessage<&TrayIcon::OnIconMessage, &D::m_tray>(tray::kIconMessage,
                                                             win::kThenDefault),
        win::OnRegisteredMessage<&TrayIcon::OnTaskbarCreated, &D::m_tray>(tray::kTaskbarCreated,
                                                                          win::kThenDefault),
        win::OnCommandRange<&TrayIcon::OnFavoriteCommand, &D::m_tray>(tray::kFirstFavoriteCommand,
                                                                      tray::kLastFavoriteCommand),
        win::OnCommand<&TrayIcon::OnExit, &D::m_tray>(0, ID_TRAY_EXIT),

        // The global hotkey (ui/GlobalHotkey.h).
        win::OnMessage<&D::OnHotkey>(WM_HOTKEY),
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
    dx.Control(IDC_FAVORITE_UP, m_favoriteUp);
    dx.Control(IDC_FAVORITE_DOWN, m_favoriteDown);
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
    // The chosen page's controls come back with SW_RESTORE; with no tab
    // selected every page stays hidden.
    const int tab = m_tab.GetCurSel();
    if (tab >= 0 && static_cast<std::size_t>(tab) < kPages.size()) {
        ShowControls(Hwnd(), kPages[static_cast<std::size_t>(tab)], SW_RESTORE);
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
    const std::array<const win::Window*, 4> forwarding = {&m_categoryTree, &m_kaomojiList,
                                                          &m_favoriteList, &m_aaList};
    for (const win::Window* control : forwarding) {
        ForwardKeys(*control);
    }
}

void MainDialog::OnDestroy() {
    m_hotkey.reset();
    m_dictionary.DropSearch();
    m_favorites.DropSearch();
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
