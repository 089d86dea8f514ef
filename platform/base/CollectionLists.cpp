#include "platform/base/CollectionLists.h"

#include "platform/base/CArchive.h"

#include <type_traits>

IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)

/* Serialization, in the class library's layout: the element count, then the
   elements from head to tail. Loading appends to the list. */

namespace {

template<class LIST> void SerializeElements(LIST& list, CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(list.GetCount());
        for (POSITION pos = list.GetHeadPosition(); pos;)
            ar << list.GetNext(pos);
        return;
    }
    DWORD_PTR nCount = ar.ReadCount();
    for (DWORD_PTR i = 0; i < nCount; ++i) {
        std::remove_cvref_t<decltype(list.GetHead())> element {};
        ar >> element;
        list.AddTail(element);
    }
}

}

void CObList::Serialize(CArchive& ar)
{
    SerializeElements(*this, ar);
}

void CStringList::Serialize(CArchive& ar)
{
    SerializeElements(*this, ar);
}
