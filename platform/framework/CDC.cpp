#include "platform/framework/CDC.h"

#include "platform/framework/HandleMap.h"

IMPLEMENT_DYNAMIC(CDC, CObject)

namespace {
using CDCMap = CHandleMap<CDC, HDC>;
}

CDC::~CDC()
{
    // The object does not own the context it was attached to: the drawing
    // layer's calls that made it free it.
    Detach();
}

CDC* CDC::FromHandle(HDC hDC)
{
    return CDCMap::Current().FromHandle(hDC, &CDC::m_hDC);
}

void CDC::DeleteTempMap()
{
    CDCMap::Current().DeleteTemporaries();
}

BOOL CDC::Attach(HDC hDC)
{
    if (m_hDC || !hDC)
        return FALSE;
    m_hDC = hDC;
    CDCMap::Current().SetPermanent(hDC, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    if (hDC && CDCMap::Current().LookupPermanent(hDC) == this)
        CDCMap::Current().RemovePermanent(hDC);
    m_hDC = nullptr;
    return hDC;
}
