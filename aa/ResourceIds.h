// The strings of the program's resources that the AA library uses.
#pragma once

#define IDS_AA_PATH 504
