#include "platform/framework/CMenu.h"

#include "platform/framework/HandleMap.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {
using CMenuMap = CHandleMap<CMenu, HMENU>;
}

CMenu::~CMenu()
{
    // Menus are destroyed by their own calls, not by the object.
    Detach();
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    return CMenuMap::Current().FromHandle(hMenu, &CMenu::m_hMenu);
}

void CMenu::DeleteTempMap()
{
    CMenuMap::Current().DeleteTemporaries();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (m_hMenu || !hMenu)
        return FALSE;
    m_hMenu = hMenu;
    CMenuMap::Current().SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu && CMenuMap::Current().LookupPermanent(hMenu) == this)
        CMenuMap::Current().RemovePermanent(hMenu);
    m_hMenu = nullptr;
    return hMenu;
}
