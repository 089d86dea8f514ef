#include "catalog/CNewDocNotice.h"

#include "mail/CMailMessage.h"
#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/ContentReader.h"
#include "store/ProtectedFile.h"

#include "platform/base/CFileException.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/TextFunctions.h"
#include "platform/shell/ShellFileInfo.h"

#include <utility>

namespace {

CString CutToCharacters(LPCTSTR pszText, size_t nMaxBytes)
{
    CString strText(pszText);
    return strText.Left(static_cast<int>(Utf8PrefixLength(strText, nMaxBytes)));
}

} // namespace

CNewDocNotice::CNewDocNotice(LPCTSTR pszPath, int nStoreKind, std::unique_ptr<CMailMessage> pMessage)
    : m_strPath(pszPath)
    , m_nStoreKind(nStoreKind)
    , m_pMessage(std::move(pMessage))
{
}

CNewDocNotice::~CNewDocNotice() = default;

CNewDocNotice::CNewDocNotice(CNewDocNotice&& other) noexcept
    : m_strPath(std::move(other.m_strPath))
    , m_nStoreKind(other.m_nStoreKind)
    , m_pMessage(std::move(other.m_pMessage))
{
}

CNewDocNotice& CNewDocNotice::operator=(CNewDocNotice&& other) noexcept
{
    m_strPath = std::move(other.m_strPath);
    m_nStoreKind = other.m_nStoreKind;
    m_pMessage = std::move(other.m_pMessage);
    return *this;
}

HICON CNewDocNotice::GetIcon() const
{
    SHFILEINFO info {};
    if (m_pMessage)
        SHGetFileInfo(MAIL_ITEM_FILE_NAME, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
    else
        SHGetFileInfo(m_strPath, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), SHGFI_ICON);
    return info.hIcon;
}

CString CNewDocNotice::GetDisplayName() const
{
    if (!m_pMessage)
        return m_strPath;
    CString strSubject = m_pMessage->GetSubject();
    if (strSubject.IsEmpty())
        strSubject.LoadString(IDS_NOTICE_NO_SUBJECT);
    return m_strPath + "\\" + strSubject;
}

CString CNewDocNotice::GetDescription() const
{
    if (m_pMessage)
        return CutToCharacters(m_pMessage->GetText(), MAX_NOTICE_DESCRIPTION);
    char szText[MAX_NOTICE_DESCRIPTION + 1] = {};
    const int nCode = ReadFileContent(m_strPath, szText, sizeof(szText));
    if (nCode != CONTENT_TEXT && nCode != CONTENT_CONVERTED_TEXT)
        return {};
    return CutToCharacters(szText, MAX_NOTICE_DESCRIPTION);
}

CString CNewDocNotice::GetMessageField() const
{
    if (!m_pMessage)
        return {};
    char szSender[MAIL_MAX_PATH] = {};
    m_pMessage->GetExtraField(szSender);
    return CutToCharacters(szSender, MAX_NOTICE_DESCRIPTION);
}

CString CNewDocNotice::GetProtection() const
{
    if (m_pMessage)
        return m_pMessage->GetProtection();
    CString strPassword;
    try {
        ReadProtectedFileHeader(m_strPath, strPassword);
    } catch (CFileException* pException) {
        pException->Delete();
        strPassword.Empty();
    }
    return strPassword;
}
