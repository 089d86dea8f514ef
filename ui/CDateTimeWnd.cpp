#include "ui/CDateTimeWnd.h"

#include "platform/controls/CommonControls.h"
#include "platform/framework/MessageMap.h"

#include <mutex>

namespace {

// The size answered for a callback field.
constexpr SIZE FORMAT_FIELD_SIZE { 366, 16 };

// DTN_FORMATQUERY's data: the field's format text and the size to answer.
struct NMDATETIMEFORMATQUERY {
    NMHDR nmhdr;
    LPCTSTR pszFormat;
    SIZE szMax;
};

SYSTEMTIME SystemTimeOf(const CTime& time)
{
    SYSTEMTIME st {};
    st.wYear = static_cast<WORD>(time.GetYear());
    st.wMonth = static_cast<WORD>(time.GetMonth());
    st.wDay = static_cast<WORD>(time.GetDay());
    st.wDayOfWeek = static_cast<WORD>(time.GetDayOfWeek() - 1);
    st.wHour = static_cast<WORD>(time.GetHour());
    st.wMinute = static_cast<WORD>(time.GetMinute());
    st.wSecond = static_cast<WORD>(time.GetSecond());
    return st;
}

bool SameValue(const COleDateTime& a, const COleDateTime& b)
{
    return a.GetStatus() == b.GetStatus() && a == b;
}

} // namespace

BEGIN_MESSAGE_MAP(CDateTimeWnd, CWnd)
    ON_NOTIFY_REFLECT_EX(DTN_DATETIMECHANGE, &CDateTimeWnd::ForwardDateTimeChange)
    ON_NOTIFY_REFLECT_EX(DTN_DROPDOWN, &CDateTimeWnd::ForwardDropDown)
    ON_NOTIFY_REFLECT_EX(DTN_CLOSEUP, &CDateTimeWnd::ForwardCloseUp)
    ON_NOTIFY_REFLECT_EX(DTN_FORMATA, &CDateTimeWnd::ForwardFormat)
    ON_NOTIFY_REFLECT_EX(DTN_FORMATQUERYA, &CDateTimeWnd::ForwardFormatQuery)
    ON_NOTIFY_REFLECT_EX(DTN_USERSTRINGA, &CDateTimeWnd::ForwardUserString)
    ON_NOTIFY_REFLECT_EX(DTN_WMKEYDOWNA, &CDateTimeWnd::ForwardKeyDown)
END_MESSAGE_MAP()

CDateTimeWnd::CDateTimeWnd()
    : m_value(COleDateTime::GetCurrentTime())
{
    static std::once_flag s_registered;
    std::call_once(s_registered, [] {
        INITCOMMONCONTROLSEX init { sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES };
        InitCommonControlsEx(&init);
    });
}

BOOL CDateTimeWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(DATETIMEPICK_CLASS, "", dwStyle, rect, pParentWnd, nID);
}

CTime CDateTimeWnd::GetTime() const
{
    SYSTEMTIME st {};
    m_value.GetAsSystemTime(st);
    return CTime(st);
}

void CDateTimeWnd::SetTime(const CTime& time)
{
    SYSTEMTIME st = SystemTimeOf(time);
    m_value = COleDateTime(st);
    SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

BOOL CDateTimeWnd::ReadValue(SYSTEMTIME* pTime) const
{
    return SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(pTime)) == GDT_VALID ? TRUE : FALSE;
}

COleDateTime CDateTimeWnd::GetOleTime() const
{
    SYSTEMTIME st {};
    return ReadValue(&st) ? COleDateTime(st) : COleDateTime::GetCurrentTime();
}

BOOL CDateTimeWnd::SetSystemTime(const SYSTEMTIME& time)
{
    return SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)) ? TRUE : FALSE;
}

BOOL CDateTimeWnd::SetRange(const CTime* pMinimum, const CTime* pMaximum)
{
    SYSTEMTIME limits[2] {};
    WPARAM flags = 0;
    if (pMinimum) {
        limits[0] = SystemTimeOf(*pMinimum);
        flags |= GDTR_MIN;
    }
    if (pMaximum) {
        limits[1] = SystemTimeOf(*pMaximum);
        flags |= GDTR_MAX;
    }
    return SendMessage(DTM_SETRANGE, flags, reinterpret_cast<LPARAM>(limits)) ? TRUE : FALSE;
}

DWORD CDateTimeWnd::GetRange(CTime* pMinimum, CTime* pMaximum) const
{
    SYSTEMTIME limits[2] {};
    const auto flags = static_cast<DWORD>(SendMessage(DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(limits)));
    if (pMinimum && (flags & GDTR_MIN))
        *pMinimum = CTime(limits[0]);
    if (pMaximum && (flags & GDTR_MAX))
        *pMaximum = CTime(limits[1]);
    return flags;
}

void CDateTimeWnd::OnDateChanged() { }

BOOL CDateTimeWnd::OnDateTimeChange(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    if (!m_bFilterOff && m_bDroppedDown)
        return TRUE;
    const auto* pChange = reinterpret_cast<const NMDATETIMECHANGE*>(pNotify);
    SYSTEMTIME st {};
    if (pChange->dwFlags == GDT_VALID && ReadValue(&st)) {
        const COleDateTime value(st);
        if (!SameValue(value, m_value)) {
            m_value = value;
            OnDateChanged();
        }
    }
    const BOOL bParentSees = (GetStyle() & DTS_UPDOWN) || !m_bDroppedDown;
    return bParentSees ? FALSE : TRUE;
}

BOOL CDateTimeWnd::OnDropDown(NMHDR* /*pNotify*/, LRESULT* pResult)
{
    m_bDroppedDown = TRUE;
    *pResult = 0;
    return FALSE;
}

BOOL CDateTimeWnd::OnCloseUp(NMHDR* /*pNotify*/, LRESULT* pResult)
{
    m_bDroppedDown = FALSE;
    *pResult = 0;
    if (m_bFilterOff)
        return FALSE;
    NMDATETIMECHANGE change {};
    change.dwFlags = static_cast<DWORD>(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&change.st)));
    if (change.dwFlags == static_cast<DWORD>(GDT_VALID) && SameValue(COleDateTime(change.st), m_value))
        return FALSE;
    CWnd* pTarget = GetOwner();
    if (!pTarget || !pTarget->IsWindow())
        return FALSE;
    change.nmhdr = NMHDR { m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), DTN_DATETIMECHANGE };
    // The parent's handling reflects the change back here, where it is stored.
    pTarget->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&change));
    return FALSE;
}

BOOL CDateTimeWnd::OnFormat(NMHDR* /*pNotify*/, LRESULT* pResult)
{
    *pResult = 0;
    return FALSE;
}

BOOL CDateTimeWnd::OnFormatQuery(NMHDR* pNotify, LRESULT* pResult)
{
    reinterpret_cast<NMDATETIMEFORMATQUERY*>(pNotify)->szMax = FORMAT_FIELD_SIZE;
    *pResult = 0;
    return FALSE;
}

BOOL CDateTimeWnd::OnUserString(NMHDR* /*pNotify*/, LRESULT* pResult)
{
    *pResult = 0;
    return FALSE;
}

BOOL CDateTimeWnd::OnKeyDown(NMHDR* /*pNotify*/, LRESULT* pResult)
{
    *pResult = 0;
    return FALSE;
}

BOOL CDatePickerCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CDateTimeWnd::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    const CTime minimum = RangeMinimum();
    const CTime maximum = RangeMaximum();
    SetRange(&minimum, &maximum);
    return TRUE;
}

CTime CDatePickerCtrl::RangeMinimum()
{
    return CTime(1990, 1, 1, 0, 0, 0);
}

CTime CDatePickerCtrl::RangeMaximum()
{
    return CTime(2030, 12, 31, 23, 59, 59);
}
