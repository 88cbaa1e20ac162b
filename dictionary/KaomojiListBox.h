// A category's kaomoji shown in a list box.
#pragma once

#include "dictionary/KaomojiList.h"
#include "text/Encoding.h"
#include "win/Controls.h"

namespace dictionary {

// Replaces what `list` (not sorted) shows with `kaomoji` (in `encoding`), in
// order, lets it scroll sideways as far as the widest of them, and draws it
// once when done. The texts go in as UTF-16, which is how the list box keeps
// them: it has no conversion left to do for each entry, which halves the time
// to fill it with a large category, and they are measured from the same
// block rather than read back.
void FillKaomojiList(const win::ListBox& list, const KaomojiList& kaomoji, text::Encoding encoding);

}  // namespace dictionary
