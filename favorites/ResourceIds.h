// The strings of the program's resources that the favourites show.
#pragma once

#define IDS_DUPLICATE_FAVORITE 507
