// The strings of the program's resources that the dictionary shows.
#pragma once

#define IDS_NO_DICTIONARY 501
