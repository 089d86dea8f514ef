#pragma once

// CCmdTarget: the base of every object that handles commands and messages
// through a message map.
//
// A message map is a table of entries, one per handled message, command or
// notification, declared with DECLARE_MESSAGE_MAP in the class and written
// between BEGIN_MESSAGE_MAP and END_MESSAGE_MAP (MessageMap.h). Each map names
// its base class's map, and lookups walk from the object's own class to
// CCmdTarget: a derived class's entry wins over its base's.
//
// Commands reach targets through OnCmdMsg. A command target that routes on to
// other targets (a frame to its view, a view to its document) overrides it and
// calls the targets in its order, stopping at the first that returns TRUE.

#include "platform/base/CObject.h"
#include "platform/framework/AfxMessages.h"

class CCmdTarget;
class CCmdUI;

// What one message map handler is called with.
struct AFX_MSGCALL {
    UINT nMessage;   // the window message, or the routed kind (WM_COMMAND, WM_NOTIFY, reflected forms)
    WPARAM wParam;   // window messages only
    LPARAM lParam;   // window messages only
    UINT nID;        // commands and notifications: the command or control ID
    void* pExtra;    // CCmdUI* for update-UI, AFX_NOTIFY* for WM_NOTIFY
    LRESULT lResult; // what the handler answers; set by the handler
};

// Calls the handler of one entry. FALSE means the handler passed the message
// on (the _EX forms, CCmdUI::ContinueRouting), and the lookup goes on.
using AFX_PMSGCALL = BOOL (*)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;            // the message, or a routed kind; 0 with null pfnCall ends the map
    UINT nCode;               // the command or notification code (notification codes cut to 16 bits)
    UINT nID;                 // the first command or control ID
    UINT nLastID;             // the last one of a range; nID otherwise
    const UINT* pnRegistered; // the variable that holds a registered message's number, or null
    AFX_PMSGCALL pfnCall;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // null for CCmdTarget's own map
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg when it is only asked whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSGCALL pfnCall;
};

// The extra data of a routed WM_NOTIFY.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget() = default;

    // Runs the handler of this target's message map for the command nID with
    // code nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra: CCmdUI*), a
    // control's notification code, or MAKELONG(code, kind) where kind is
    // WM_NOTIFY (pExtra: AFX_NOTIFY*) or a reflected kind. With pHandlerInfo it
    // only reports whether a handler exists. Returns TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The hourglass while the target works; calls nest (CWaitCursor.h).
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Runs the first handler in the map chain whose entry matches; TRUE when one handled it.
    BOOL DispatchFromMap(UINT nMessage, UINT nCode, UINT nID, AFX_MSGCALL& call, AFX_CMDHANDLERINFO* pHandlerInfo);
};

#include "platform/framework/MessageMap.h"
