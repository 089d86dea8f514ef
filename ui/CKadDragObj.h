#pragma once

// What a drag inside the program carries: catalog records (CKadDragObjReg) or
// shell items (CKadDragObjPIDL). A drop target reads the kind before it looks
// at the rest.

#include "platform/base/CObject.h"

class CKadDragObj : public CObject {
    DECLARE_DYNAMIC(CKadDragObj)

public:
    /* Payload kinds. */
    static constexpr int KIND_CATALOG_RECORDS = 1;
    static constexpr int KIND_SHELL_ITEMS = 2;

    int GetKind() const { return m_nKind; }

protected:
    explicit CKadDragObj(int nKind)
        : m_nKind(nKind)
    {
    }

private:
    int m_nKind;
};
