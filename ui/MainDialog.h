// The main dialog "Pelo": three tab pages (dictionary, favourites, AA list),
// the notification-area icon and its menu. The page handlers live beside
// their subsystems (dictionary/, favorites/, aa/, delivery/, ui/Tray.cpp).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dictionary/CategoryMap.h"
#include "win/Controls.h"
#include "win/Dialog.h"

class EditAADialog;

class MainDialog : public win::Dialog {
public:
    explicit MainDialog(HWND parent = nullptr);
    ~MainDialog() override;

    // Frees the dictionary and removes the hook; run after the modal run.
    void CleanUp();

protected:
    std::span<const win::MessageEntry> GetMessageMap() const override;
    void DoDataExchange(win::DataExchange& dx) override;
    BOOL OnInitDialog() override;
    bool OnCmdMsg(UINT id, UINT code) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // Tab pages and drawing.
    void InsertTabs();
    void OnSelchangeTab(NMHDR* header, LRESULT* result);
    void SetHorizontalExtent(const win::ListBox& list);
    // The same for a list that shows exactly `shown`, measured from memory.
    void SetHorizontalExtent(const win::ListBox& list, const CategoryMap::List& shown);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    // Dictionary page.
    bool LoadDictionary();
    void OnCategorySelChanged(NMHDR* header, LRESULT* result);
    void ShowCategory(std::string name);

    // Favourites page.
    void LoadFavorites();
    void SaveFavorites();
    void OnAddFavorite();
    void OnFavoriteUp();
    void OnFavoriteDown();
    void OnDeleteFavorite();
    void MoveFavorite(int from, int to);
    bool CanRewriteFavorites();
    void RewriteFavorites(const std::vector<std::string>& before);
    void RestoreFavorites(const std::vector<std::string>& before);
    // False while the last load failed: the list may then lack entries of the
    // file, and a move or delete would lose them by rewriting the file.
    bool m_favoritesLoaded = false;

    // AA page.
    bool LoadAAList();
    void OnNewAA();
    void OnEditAA();
    void OnDeleteAA();
    void OnDblclkAAList();
    void SaveAA(const EditAADialog& editor, const std::string& path);

    // Delivery.
    BOOL CopyToClipboard(std::string text);
    BOOL PasteToLastActiveWindow();
    void OnDictionaryListDblClk();
    void OnFavoritesListDblClk();
    void DeliverSelectedEntry(const win::ListBox& list);

    // Notification-area icon and menu (ui/Tray.cpp).
    void AddTrayIcon();
    void HideToTray();
    void InsertFavoritesIntoMenu(HMENU menu);
    void OnExit();
    void RemoveTrayIcon();
    void MinimizeToTray();
    void OnTrayIconMessage(LPARAM mouseMessage);
    void RestoreFromTray();
    void ShowTrayMenu();
    void OnTaskbarCreated();
    UINT m_taskbarCreatedMessage = 0;  // 0 (WM_NULL) until WM_CREATE registers it
    bool m_trayIconAdded = false;      // Pelo's icon is in the notification area
    bool m_hidingToTray = false;       // a minimise to the tray is under way

    friend struct MainDialogMessageMap;

    HICON m_hIcon = nullptr;
    win::TabControl m_tab;
    win::TreeControl m_categoryTree;
    win::ListBox m_kaomojiList;
    win::Button m_addFavoriteButton;
    win::ListBox m_favoriteList;
    win::Button m_deleteFavoriteButton;
    win::ListBox m_aaList;
    win::Button m_upButton;
    win::Button m_downButton;
    win::Button m_newAAButton;
    win::Button m_editAAButton;
    win::Button m_deleteAAButton;
    CategoryMap m_categoryMap;
    HWND m_hWndSaved = nullptr;
    char lastActiveTitle[1024] = {};
};
