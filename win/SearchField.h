// A one-line search field that a page of a dialog opens at run time above
// its controls, which give it room while it is open. The field is a Unicode
// edit control, so the input method composes in it as in any edit. It is a
// control like the others: its text changes come to the dialog as EN_CHANGE
// from its id, and its keys go through the dialog's message table
// (Dialog::ForwardKeys), where the page's rows take them. Nothing here ends
// the dialog or decides what a key does.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "win/Controls.h"
#include "win/UniqueHandle.h"

namespace win {

class SearchField {
public:
    struct Setup {
        int fieldId;
        // The list the results are shown in; it and `above` make room.
        const ListBox* results;
        std::vector<const Window*> above;
        // What stands in the results list's place when nothing matches: a
        // static control of its own id.
        int noMatchId;
        std::wstring noMatchText;
    };

    explicit SearchField(Setup setup) : m_setup(std::move(setup)) {}
    SearchField(const SearchField&) = delete;
    SearchField& operator=(const SearchField&) = delete;

    bool IsOpen() const { return static_cast<bool>(m_field); }
    // Opens the field when it is not open (its keys forwarded to the dialog),
    // focuses it and types `text` at its end.
    void Open(std::wstring_view text = {});
    // Selects the whole text, for a search typed afresh over it.
    void SelectAll() const;
    // Closes the field: the layout and the focus come back.
    void Close();

    HWND Hwnd() const { return m_field.get(); }
    // What the field shows, in UTF-8.
    std::string Text() const;
    // True when no text of the field is selected (Ctrl+C has nothing of the
    // field's own to copy).
    bool SelectsNoText() const;
    // Shows the no-match text in the results list's place, or the list.
    void ShowNoMatch(bool show);
    // Down, Up, Page Down or Page Up, as if pressed on the results list.
    void MoveInResults(UINT key) const;

private:
    HWND DialogWindow() const { return ::GetParent(m_setup.results->Hwnd()); }
    void MakeRoom();

    Setup m_setup;
    UniqueWindow m_field;
    UniqueWindow m_noMatch;
    // Where the controls stood before the field made room, and the focus.
    std::vector<RECT> m_placesBefore;
    HWND m_focusBefore = nullptr;
};

}  // namespace win
