// The AA page: list 1011 of piece titles and the New, Edit and Delete
// buttons. The list box is the only in-memory copy of the titles; it is
// refilled from the folder after every change. File errors are not caught
// here: they leave the handler and the dialog layer shows them, so the steps
// after a failure (refill, selection) do not run.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "delivery/Delivery.h"
#include "win/Controls.h"

// A piece as the editor shows it: in UTF-16, whatever its file's encoding.
struct AAPiece {
    std::wstring title;
    std::wstring text;  // lines separated by CR LF
};

// Lets the user edit `piece` (a new one when `isNew`): the piece as the user
// left it, or nothing when the user cancelled.
using AAEditor = std::function<std::optional<AAPiece>(AAPiece piece, bool isNew)>;

class AAPage {
public:
    AAPage(const win::ListBox& aaList, delivery::Delivery& delivery, AAEditor editor)
        : m_aaList(aaList), m_delivery(delivery), m_editor(std::move(editor)) {}

    void LoadAAList();

    void OnNewAA();
    void OnEditAA();
    void OnDeleteAA();
    void OnDblclkAAList();

private:
    // Writes `piece` into the file at `path`, whose text was in `encoding`
    // (a new piece: Shift-JIS), and gives the file the piece's title.
    void SaveAA(const AAPiece& piece, const std::wstring& path, text::Encoding encoding);

    const win::ListBox& m_aaList;
    delivery::Delivery& m_delivery;
    AAEditor m_editor;
};
