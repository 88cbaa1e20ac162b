// The AA editor "AAエディター": a modal, resizable dialog in which the user
// writes or changes one AA piece's title and text. It writes no file: the
// AA page reads m_title and m_text after DoModal returned IDOK. Both are
// UTF-16, as the edit controls hold them: any character typed or pasted.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "win/Dialog.h"

class EditAADialog : public win::Dialog {
public:
    explicit EditAADialog(HWND parent = nullptr);

    std::wstring m_title;  // control 1008, handed back untrimmed
    std::wstring m_text;   // control 1009, lines separated by CR LF
    bool m_isNew = false;  // a new piece: ask before overwriting another

    // The smallest outer size of the window, in pixels.
    static constexpr int kMinimumWidth = 565;
    static constexpr int kMinimumHeight = 400;

protected:
    std::span<const win::MessageEntry> GetMessageMap() const override;
    void DoDataExchange(win::DataExchange& dx) override;
    BOOL OnInitDialog() override;

private:
    void OnSize(UINT type, int cx, int cy);
    void OnOKClicked();
    // Grows a window rectangle below the minimum size back to it, with its
    // top-left corner fixed; false when the window had to be moved.
    bool EnforceMinimumSize(const RECT& window);
    // For a new piece whose file exists: asks whether to overwrite it.
    bool ConfirmOverwrite();
    // Moves button `id` to its place for a client area of cx × cy, keeping
    // its size; its bottom edge stands 14 pixels above the client's.
    enum class ButtonSide { LeftOfMiddle, RightOfMiddle };
    void PlaceButton(int id, int cx, int cy, ButtonSide side);

    std::wstring TitleText() const;
};
