#pragma once

// CDC: the class library's object around a device context. This is the part
// message handlers need: the handle, and the map from handles to objects
// (HandleMap.h) that hands handlers a CDC for the HDC of a message.

#include "platform/base/CObject.h"
#include "platform/gdi/GdiTypes.h"

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)

public:
    CDC() = default;
    ~CDC() override;

    // The permanent object attached to hDC, else a temporary one; nullptr for NULL.
    static CDC* FromHandle(HDC hDC);
    // Frees the calling thread's temporary objects.
    static void DeleteTempMap();

    // Fails when the object already has a context or hDC is NULL.
    BOOL Attach(HDC hDC);
    HDC Detach();
    HDC GetSafeHdc() const { return m_hDC; }

    HDC m_hDC { nullptr };
};
