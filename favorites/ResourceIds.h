// The strings of the program's resources that the favourites show, and the ids
// of the controls they make at run time.
#pragma once

#define IDS_DUPLICATE_FAVORITE 507
// A Shift-JIS Favorite.txt that cannot become UTF-8: %1 is the entry that cannot move.
#define IDS_FAVORITE_CANNOT_MOVE 509

// Made at run time, not in the dialog template: the search field over the
// list, and what stands in the list's place when nothing matches.
#define IDC_FAVORITE_SEARCH 1019
#define IDC_FAVORITE_NO_MATCH 1020
