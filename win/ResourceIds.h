// The strings of the program's resources that this layer shows.
#pragma once

#define IDS_SELECT_ITEM 500
#define IDS_UNNAMED_FILE 61446
#define IDS_FILE_ERROR_BASE 61856
