#pragma once

// COleDataObject: reads data in the formats a source offers. Attached to the
// clipboard, it asks the clipboard at each call, so it sees what is there when
// it asks.
//
// FIXME: data objects of drag and drop are not offered.

#include "platform/window/Clipboard.h"

class COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject() = default;
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Attaches the object to the clipboard; FALSE when the clipboard holds no data.
    BOOL AttachClipboard();
    void Release() { m_bAttached = FALSE; }
    BOOL IsDataAvailable(CLIPFORMAT cfFormat) const;
    // A copy of the data in a new global memory block the caller frees; NULL
    // when the format is not there or the clipboard cannot be opened.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat) const;

private:
    BOOL m_bAttached { FALSE };
};
