#pragma once

// The network locations the folder tree starts from. The locations are
// lower-cased folder paths in list order; a location is a root unless the
// one listed just before it is a folder above it (its path followed by "\"
// begins the location's path: "c:\doc" stands above "c:\doc\a" but not above
// "c:\docs"). The first location is always a root. Roots map path to null.

#include "platform/base/CollectionArrays.h"
#include "platform/base/CollectionMaps.h"

void BuildLocationRoots(const CStringArray& locations, CMapStringToPtr& roots);
