// The main dialog "Pelo": three tab pages (dictionary, favourites, AA list),
// the notification-area icon and its menu. The dialog keeps the window, the
// tabs and the drawing; each page, the tray icon and the delivery are objects
// of their own subsystems, to which its message table forwards.
#pragma once

#include <windows.h>

#include <optional>

#include "aa/AAPage.h"
#include "delivery/Delivery.h"
#include "dictionary/DictionaryPage.h"
#include "favorites/FavoritesPage.h"
#include "ui/GlobalHotkey.h"
#include "ui/Tray.h"
#include "win/Controls.h"
#include "win/Dialog.h"

class MainDialog : public win::Dialog {
public:
    explicit MainDialog(HWND parent = nullptr);
    ~MainDialog() override;

    // Frees the dictionary and removes the hook; run after the modal run.
    void CleanUp();

    // The global hotkey to register when the dialog starts (none unless set).
    void SetHotkey(hotkey::Choice choice) { m_hotkeyChoice = std::move(choice); }

protected:
    std::span<const win::MessageEntry> GetMessageMap() const override;
    void DoDataExchange(win::DataExchange& dx) override;
    BOOL OnInitDialog() override;
    void PostNcDestroy() override;

private:
    void InsertTabs();
    void OnSelchangeTab(NMHDR* header, LRESULT* result);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    static std::optional<AAPiece> EditAA(AAPiece piece, bool isNew);

    // The keyboard: the global hotkey, and the keys and typing on the tree
    // and the lists to the table.
    void StartKeyboard();
    void OnDestroy();
    LRESULT OnHotkey(WPARAM id, LPARAM);
    void ComeForward();
    HWND CurrentPageList() const;

    friend struct MainDialogMessageMap;

    HICON m_hIcon = nullptr;
    win::TabControl m_tab;
    win::TreeControl m_categoryTree;
    win::ListBox m_kaomojiList;
    win::ListBox m_favoriteList;
    win::Window m_favoriteUp;
    win::Window m_favoriteDown;
    win::ListBox m_aaList;

    delivery::Delivery m_delivery{*this};
    DictionaryPage m_dictionary{m_categoryTree, m_kaomojiList, m_delivery};
    FavoritesPage m_favorites{m_favoriteList, m_favoriteUp, m_favoriteDown,
                              [this] { return m_dictionary.SelectedKaomoji(); }, m_delivery};
    AAPage m_aa{m_aaList, m_delivery, &MainDialog::EditAA};
    TrayIcon m_tray;

    hotkey::Choice m_hotkeyChoice;
    hotkey::UniqueRegistration m_hotkey;
};
