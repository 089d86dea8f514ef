#pragma once

// CMenu: the class library's object around a menu. This is the part
// message handlers need: the handle, and the map from handles to objects
// (HandleMap.h) that hands handlers a CMenu for the HMENU of a message.

#include "platform/base/CObject.h"
#include "platform/base/WinTypes.h"

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)

public:
    CMenu() = default;
    ~CMenu() override;

    // The permanent object attached to hMenu, else a temporary one; nullptr for NULL.
    static CMenu* FromHandle(HMENU hMenu);
    // Frees the calling thread's temporary objects.
    static void DeleteTempMap();

    // Fails when the object already has a menu or hMenu is NULL.
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    HMENU GetSafeHmenu() const { return m_hMenu; }

    HMENU m_hMenu { nullptr };
};
