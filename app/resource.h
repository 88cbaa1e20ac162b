// Identifiers of Pelo's resources and controls: each room's own, and the
// program's title.
#pragma once

#include "aa/ResourceIds.h"
#include "dictionary/ResourceIds.h"
#include "favorites/ResourceIds.h"
#include "ui/ResourceIds.h"
#include "win/ResourceIds.h"

#define IDS_MAIN_TITLE 503
