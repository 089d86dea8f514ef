#include "dialogs/setup/LocationRoots.h"

#include "store/PathHelpers.h"

void BuildLocationRoots(const CStringArray& locations, CMapStringToPtr& roots)
{
    roots.RemoveAll();
    for (int i = static_cast<int>(locations.GetSize()) - 1; i >= 0; --i) {
        if (i > 0) {
            const CString strAbove = AddBackslash(locations[i - 1]);
            if (locations[i].Left(strAbove.GetLength()) == strAbove)
                continue;
        }
        roots.SetAt(locations[i], nullptr);
    }
}
