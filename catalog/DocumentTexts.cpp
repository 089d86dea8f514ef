#include "catalog/DocumentTexts.h"

#include "mail/CNetscapeMessage.h"
#include "mail/COE4Message.h"
#include "mail/COE5Message.h"
#include "mail/MailResult.h"
#include "mail/MailStoreFunctions.h"
#include "store/CMailStoreRec.h"
#include "store/ContentReader.h"

#include "platform/base/CFile.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TimeFunctions.h"

#include <cstring>
#include <string>

CString MakeDescription(std::string_view strText)
{
    std::string strDescription;
    strDescription.reserve(std::min<std::size_t>(strText.size(), MAX_DESCRIPTION + 4));
    for (const char ch : strText) {
        const bool bBlank = static_cast<unsigned char>(ch) < 0x20 || ch == ' ' || ch == 0x7F;
        if (bBlank) {
            if (!strDescription.empty() && strDescription.back() != ' ')
                strDescription += ' ';
        } else {
            strDescription += ch;
        }
        if (strDescription.size() > MAX_DESCRIPTION + 4)
            break;
    }
    while (!strDescription.empty() && strDescription.back() == ' ')
        strDescription.pop_back();
    strDescription.resize(Utf8PrefixLength(strDescription.c_str(), MAX_DESCRIPTION));
    while (!strDescription.empty() && strDescription.back() == ' ')
        strDescription.pop_back();
    return CString(strDescription.c_str());
}

EFileText ReadFileDescription(
    const CListedFolder& folder, const std::string& strName, LPCTSTR pszPath, CString& strDescription)
{
    strDescription.Empty();
    // Enough text for a description once its blanks are run together.
    char szText[4 * MAX_DESCRIPTION];
    const int nCode = ReadListedFileContent(folder, strName, pszPath, szText, sizeof(szText));
    if (nCode == CONTENT_NOT_FOUND)
        return EFileText::NotFound;
    if (nCode != CONTENT_TEXT && nCode != CONTENT_CONVERTED_TEXT)
        return EFileText::NoText;
    strDescription = MakeDescription(szText);
    return EFileText::Text;
}

std::unique_ptr<CMailMessage> NewMailReader(int nStoreKind)
{
    switch (nStoreKind) {
    case MAIL_STORE_NETSCAPE:
        return std::make_unique<CNetscapeMessage>();
    case MAIL_STORE_OE4:
        return std::make_unique<COE4Message>();
    case MAIL_STORE_OE5:
        return std::make_unique<COE5Message>();
    default:
        return nullptr;
    }
}

int ReadNextMessage(CMailMessage& reader, LPCTSTR pszStorePath, DWORD& dwPosition)
{
    const int nResult = reader.ReadNext(pszStorePath, dwPosition, MAIL_MAX_PATH);
    if (nResult != MAIL_OK && nResult != MAIL_DELETED)
        return nResult;
    if (reader.GetPosition() <= dwPosition)
        return MAIL_ERR_FORMAT;
    dwPosition = reader.GetPosition();
    return nResult == MAIL_OK && reader.IsValid() ? MAIL_OK : MAIL_DELETED;
}

int StoreKindOfLocation(int nLocationKind)
{
    switch (nLocationKind) {
    case LOCATION_NETSCAPE:
        return MAIL_STORE_NETSCAPE;
    case LOCATION_OUTLOOK_EXPRESS4:
        return MAIL_STORE_OE4;
    case LOCATION_OUTLOOK_EXPRESS5:
        return MAIL_STORE_OE5;
    default:
        return -1;
    }
}

LONG ReadMailStoreSize(LPCTSTR pszStorePath, int nStoreKind)
{
    if (nStoreKind == MAIL_STORE_OE5)
        return GetOE5MessageCount(pszStorePath);
    WIN32_FILE_ATTRIBUTE_DATA data {};
    if (!GetFileAttributesEx(pszStorePath, GetFileExInfoStandard, &data))
        return -1;
    if (data.nFileSizeHigh != 0 || data.nFileSizeLow > 0x7FFFFFFF)
        return 0x7FFFFFFF;
    return static_cast<LONG>(data.nFileSizeLow);
}

CDocumentInfo MakeMessageInfo(const CMailMessage& message, int nStoreKind)
{
    CDocumentInfo info {};
    info.wType = DOCUMENT_MAIL;
    const std::string strTitle = MailTitleOfSubject(static_cast<LPCTSTR>(message.GetSubject()));
    Utf8CopyToField(info.szName, sizeof(info.szName), strTitle.c_str(), FieldEnd::NulTerminated);
    const DWORD ids[] = { message.GetStoreId(), message.GetOffset(), message.GetLength() };
    std::memcpy(info.id, ids, sizeof(ids));
    info.id[sizeof(ids)] = ' ';
    info.nVersion = nStoreKind;
    info.dwAttributes = static_cast<DWORD>(message.GetDate());
    const CString strDescription = MakeDescription(static_cast<LPCTSTR>(message.GetText()));
    Utf8CopyToField(info.szDescription, sizeof(info.szDescription), strDescription, FieldEnd::NulTerminated);
    char szSender[MAIL_MAX_PATH] = {};
    message.GetExtraField(szSender);
    Utf8CopyToField(info.szSecondary, sizeof(info.szSecondary), szSender, FieldEnd::NulTerminated);
    GetSystemTimeAsFileTime(&info.ftCatalogTime);
    return info;
}
