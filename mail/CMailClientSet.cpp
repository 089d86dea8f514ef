#include "mail/CMailClientSet.h"

#include "mail/MailResult.h"

CMailer* CMailClientSet::GetAt(int nIndex)
{
    switch (nIndex) {
    case 0:
        return &m_netscape;
    case 1:
        return &m_oe4;
    case 2:
        return &m_oe5;
    default:
        return nullptr;
    }
}

CMailer& CMailClientSet::ForStoreKind(int nStoreKind)
{
    if (nStoreKind == MAIL_STORE_OE4)
        return m_oe4;
    if (nStoreKind == MAIL_STORE_OE5)
        return m_oe5;
    return m_netscape;
}

BOOL CMailClientSet::HasStores()
{
    BOOL bFound = FALSE;
    for (int i = 0; i < MAILER_COUNT; ++i) {
        if (GetAt(i)->ScanOnce())
            bFound = TRUE;
    }
    return bFound;
}

void CMailClientSet::ClearStores()
{
    for (int i = 0; i < MAILER_COUNT; ++i)
        GetAt(i)->ClearStores();
}

CMailClientSet& GetMailClientSet()
{
    static CMailClientSet set;
    return set;
}

CString GetMailboxDisplayName(LPCTSTR pszMailboxPath)
{
    if (!pszMailboxPath)
        return CString();
    CMailClientSet& set = GetMailClientSet();
    for (int i = 0; i < CMailClientSet::MAILER_COUNT; ++i) {
        CString strName = set.GetAt(i)->GetMailboxDisplayPath(pszMailboxPath);
        if (!strName.IsEmpty())
            return strName;
    }
    return pszMailboxPath;
}

CString DescribeMailbox(LPCTSTR pszMailboxPath, int nStoreKind)
{
    CString strName = GetMailboxDisplayName(pszMailboxPath);
    CMailer& mailer = GetMailClientSet().ForStoreKind(nStoreKind);
    if (mailer.GetMailboxDisplayPath(pszMailboxPath).IsEmpty())
        return strName;
    return strName + " (" + mailer.GetStoreClientName(pszMailboxPath) + ")";
}
