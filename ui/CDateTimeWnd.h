#pragma once

// The date-time picker ("SysDateTimePick32") as a window object with typed
// get and set operations. It keeps the last value it knows and filters the
// picker's change notifications: while the drop-down calendar is open its
// changes reach nobody, and when it closes the parent hears one
// DTN_DATETIMECHANGE, only when the value really changed. A picker with
// DTS_UPDOWN has no calendar: every change reaches the parent at once.
//
// The picker's notifications reach the virtual handlers below, each
// answering whether it handled the notification (TRUE: the parent does not
// see it).

#include "platform/base/COleDateTime.h"
#include "platform/base/CTime.h"
#include "platform/controls/DateTimePicker.h"
#include "platform/framework/CWnd.h"

class CDateTimeWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    // The value is the current time until the picker says otherwise.
    CDateTimeWnd();

    // Creates the picker as a child window (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    /* The value. */

    // The value last known, as a CTime.
    CTime GetTime() const;
    // Shows and stores the time (local time, to the second).
    void SetTime(const CTime& time);
    // The picker's value; the current time when it has none.
    COleDateTime GetOleTime() const;
    // FALSE when the picker refuses the time (outside its range).
    BOOL SetSystemTime(const SYSTEMTIME& time);

    /* The range; a null limit is not set. */

    BOOL SetRange(const CTime* pMinimum, const CTime* pMaximum);
    // The limits set, as GDTR_MIN and GDTR_MAX flags.
    DWORD GetRange(CTime* pMinimum, CTime* pMaximum) const;

protected:
    /* What subclasses override. */

    // The stored value has changed. Does nothing here.
    virtual void OnDateChanged();
    virtual BOOL OnDateTimeChange(NMHDR* pNotify, LRESULT* pResult);
    virtual BOOL OnDropDown(NMHDR* pNotify, LRESULT* pResult);
    virtual BOOL OnCloseUp(NMHDR* pNotify, LRESULT* pResult);
    virtual BOOL OnFormat(NMHDR* pNotify, LRESULT* pResult);
    // Answers the size of a callback field: 366 x 16 pixels.
    virtual BOOL OnFormatQuery(NMHDR* pNotify, LRESULT* pResult);
    virtual BOOL OnUserString(NMHDR* pNotify, LRESULT* pResult);
    virtual BOOL OnKeyDown(NMHDR* pNotify, LRESULT* pResult);

    BOOL IsDroppedDown() const { return m_bDroppedDown; }

    COleDateTime m_value;
    BOOL m_bDroppedDown { FALSE };
    BOOL m_bFilterOff { FALSE }; // TRUE: the parent hears every change as it happens

private:
    // Reads the picker's value; FALSE when it has none.
    BOOL ReadValue(SYSTEMTIME* pTime) const;

    BOOL ForwardDateTimeChange(NMHDR* pNotify, LRESULT* pResult) { return OnDateTimeChange(pNotify, pResult); }
    BOOL ForwardDropDown(NMHDR* pNotify, LRESULT* pResult) { return OnDropDown(pNotify, pResult); }
    BOOL ForwardCloseUp(NMHDR* pNotify, LRESULT* pResult) { return OnCloseUp(pNotify, pResult); }
    BOOL ForwardFormat(NMHDR* pNotify, LRESULT* pResult) { return OnFormat(pNotify, pResult); }
    BOOL ForwardFormatQuery(NMHDR* pNotify, LRESULT* pResult) { return OnFormatQuery(pNotify, pResult); }
    BOOL ForwardUserString(NMHDR* pNotify, LRESULT* pResult) { return OnUserString(pNotify, pResult); }
    BOOL ForwardKeyDown(NMHDR* pNotify, LRESULT* pResult) { return OnKeyDown(pNotify, pResult); }
};

// The picker of the program's document dates: limited to 1990-01-01 00:00:00
// .. 2030-12-31 23:59:59, so that it refuses any time outside.
class CDatePickerCtrl : public CDateTimeWnd {
public:
    // FALSE when the window cannot be made.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The limits as CTimes (local time).
    static CTime RangeMinimum();
    static CTime RangeMaximum();
};
