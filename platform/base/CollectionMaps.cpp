#include "platform/base/CollectionMaps.h"

#include "platform/base/CArchive.h"

IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)

/* Serialization, in the class library's layout: the entry count, then each key
   and value in walk order. Loading adds to the map. */

namespace {

template<class KEY, class VALUE, class MAP> void SerializeEntries(MAP& map, CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(map.GetCount());
        for (POSITION pos = map.GetStartPosition(); pos;) {
            KEY key {};
            VALUE value {};
            map.GetNextAssoc(pos, key, value);
            ar << key << value;
        }
        return;
    }
    DWORD_PTR nCount = ar.ReadCount();
    for (DWORD_PTR i = 0; i < nCount; ++i) {
        KEY key {};
        VALUE value {};
        ar >> key >> value;
        map.SetAt(key, value);
    }
}

}

void CMapStringToString::Serialize(CArchive& ar)
{
    SerializeEntries<CString, CString>(*this, ar);
}

void CMapStringToOb::Serialize(CArchive& ar)
{
    SerializeEntries<CString, CObject*>(*this, ar);
}

void CMapWordToOb::Serialize(CArchive& ar)
{
    SerializeEntries<WORD, CObject*>(*this, ar);
}
