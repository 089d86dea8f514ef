#include "dialogs/setup/LocationRoots.h"

void BuildLocationRoots(const CStringArray& locations, CMapStringToPtr& roots)
{
    roots.RemoveAll();
    for (int i = static_cast<int>(locations.GetSize()) - 1; i >= 0; --i) {
        if (i > 0) {
            CString strAbove = locations[i - 1];
            if (strAbove.IsEmpty() || strAbove.Right(1) != "\\")
                strAbove += "\\";
            if (locations[i].Left(strAbove.GetLength()) == strAbove)
                continue;
        }
        roots.SetAt(locations[i], nullptr);
    }
}
