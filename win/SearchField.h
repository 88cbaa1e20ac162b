// A one-line search field that a page of a dialog opens at run time above
// its controls, which give it room while it is open, and the keys that go
// with it. The field is a Unicode edit control, so the input method composes
// in it as in any edit; it tells the dialog what happens as WM_COMMAND
// notifications from its id, which the dialog's message table routes:
//
//   kSearchOpened  the field has just been made (the page keeps what it
//                  shows, to put it back on close); the first text follows
//   EN_CHANGE      the text changed (the edit's own notification; the input
//                  method's composition shown in the field changes it too)
//   kSearchClosed  Escape closed the field; the page puts back what it showed
//
// Keys, caught by subclassing the field and the page's `watched` controls
// (its tree or list), so that they reach the dialog's own table:
//   on a watched control: a printable character (not the space) opens the
//     field with that character; Ctrl+F opens it, or moves to it;
//   in the field: Down, Up, Page Down and Page Up move the results list's
//     selection; Enter sends the list's LBN_DBLCLK (deliver, as a
//     double-click); Ctrl+C without a selected text sends `copyCode` from the
//     list; Escape closes the field;
//   on a watched control while the field is open: Escape closes the field,
//     Enter on the results list delivers, a character goes on in the field.
// Nothing here ends the dialog: a second Escape, with the field closed,
// reaches the dialog manager as before.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "win/Controls.h"
#include "win/UniqueHandle.h"

namespace win {

inline constexpr UINT kSearchOpened = 0x0C10;
inline constexpr UINT kSearchClosed = 0x0C11;

class SearchField {
public:
    struct Setup {
        int fieldId;
        // The list the results are shown in; it and `above` make room.
        const ListBox* results;
        std::vector<const Window*> above;
        // Controls whose keys open the field (the results list among them).
        std::vector<const Window*> watched;
        UINT copyCode;
        // What stands in the results list's place when nothing matches: a
        // static control of its own id.
        int noMatchId;
        std::wstring noMatchText;
    };

    explicit SearchField(Setup setup) : m_setup(std::move(setup)) {}
    ~SearchField();
    SearchField(const SearchField&) = delete;
    SearchField& operator=(const SearchField&) = delete;

    // Subclasses the watched controls; once the dialog's controls exist.
    // They stay subclassed until they are destroyed.
    void Attach(HWND dialog);

    bool IsOpen() const { return static_cast<bool>(m_field); }
    // Opens the field (kSearchOpened), focuses it and types `text` into it.
    void Open(std::wstring_view text = {});
    // Closes the field without a notification: the layout and the focus
    // come back. For a page that is left while the field is open.
    void Close();

    HWND Hwnd() const { return m_field.get(); }
    // What the field shows, in UTF-8.
    std::string Text() const;
    // Shows the no-match text in the results list's place, or the list.
    void ShowNoMatch(bool show);

private:
    // A watched control, subclassed in the character set it was made with:
    // an ANSI list box turned Unicode by a subclass fills a hundred times
    // slower under Wine.
    struct Watched {
        HWND window;
        WNDPROC superProc;
        bool unicode;
        char pendingLead;  // an ANSI window's lead byte, waiting for its trail
    };

    static LRESULT CALLBACK FieldProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK WatchedProc(HWND, UINT, WPARAM, LPARAM);
    Watched* FindWatched(HWND window);
    // The UTF-16 character a WM_CHAR carries; 0 while half of one came.
    static wchar_t CharacterOf(Watched& watched, WPARAM wParam);
    // True when the message was one of the keys above, now handled.
    bool OnFieldKey(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnWatchedKey(Watched& control, UINT message, WPARAM wParam, LPARAM lParam);
    bool WantsKey(HWND control, const MSG* message) const;
    void Notify(UINT code) const;
    void NotifyFromResults(UINT code) const;
    void CloseByKey();
    void MakeRoom();

    Setup m_setup;
    HWND m_dialog = nullptr;
    UniqueWindow m_field;
    UniqueWindow m_noMatch;
    std::vector<Watched> m_watched;
    // Where the controls stood before the field made room, and the focus.
    std::vector<RECT> m_placesBefore;
    HWND m_focusBefore = nullptr;
};

}  // namespace win
