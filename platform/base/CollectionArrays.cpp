#include "platform/base/CollectionArrays.h"

#include "platform/base/CArchive.h"

#include <type_traits>

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)

/* Serialization, in the class library's layout: the element count (see
   CArchive::WriteCount), then the elements. Loading grows the array element by
   element, so a damaged count cannot make it allocate more than the archive
   actually holds before the archive runs out. */

namespace {

template<class ARRAY> void SerializeValues(ARRAY& array, CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(array.GetSize());
        for (INT_PTR i = 0; i < array.GetSize(); ++i)
            ar << array[i];
        return;
    }
    DWORD_PTR nCount = ar.ReadCount();
    array.RemoveAll();
    for (DWORD_PTR i = 0; i < nCount; ++i) {
        typename std::remove_reference_t<decltype(array[0])> value {};
        ar >> value;
        array.Add(value);
    }
}

}

void CDWordArray::Serialize(CArchive& ar)
{
    SerializeValues(*this, ar);
}

void CWordArray::Serialize(CArchive& ar)
{
    SerializeValues(*this, ar);
}

void CByteArray::Serialize(CArchive& ar)
{
    SerializeValues(*this, ar);
}

void CObArray::Serialize(CArchive& ar)
{
    SerializeValues(*this, ar);
}

void CStringArray::Serialize(CArchive& ar)
{
    SerializeValues(*this, ar);
}
