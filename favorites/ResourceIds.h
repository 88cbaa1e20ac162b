// The strings of the program's resources that the favourites show, and the ids
// of the controls they make at run time.
#pragma once

#define IDS_DUPLICATE_FAVORITE 507

// Made at run time, not in the dialog template: the search field over the
// list, and what stands in the list's place when nothing matches.
#define IDC_FAVORITE_SEARCH 1019
#define IDC_FAVORITE_NO_MATCH 1020
