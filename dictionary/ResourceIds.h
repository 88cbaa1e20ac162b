// The strings of the program's resources that the dictionary shows, and the ids
// of the controls it makes at run time.
#pragma once

#define IDS_NO_DICTIONARY 501

// Made at run time, not in the dialog template: the search field over the
// tree and list, and what stands in the list's place when nothing matches.
#define IDC_KAOMOJI_SEARCH 1017
#define IDC_KAOMOJI_NO_MATCH 1018
