#include "webaccess/server/CWACmdTipv.h"

#include "platform/base/CFile.h"
#include "platform/base/FileFunctions.h"
#include "platform/shell/ShellFileInfo.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/ContentReader.h"
#include "store/FileHelpers.h"
#include "ui/ContentStatus.h"
#include "ui/ConvertImageToPng.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/TipPage.h"
#include "webaccess/pages/WebText.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int TEXT_BUFFER = 32000;
constexpr UINT COPY_BLOCK = 512; // Bytes copied per read
constexpr LPCTSTR RENDERED_PICTURE = "~kdimg.~kd";
// A picture that can be neither sent nor rendered: no CONTENT_ code, so the
// status line tells that no preview is available.
constexpr int PICTURE_NOT_SENT = 6;

CString ShellTypeName(const CString& strPath)
{
    SHFILEINFO info {};
    if (!SHGetFileInfo(strPath, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES))
        return CString();
    return info.szTypeName;
}

// The picture that follows the page.
struct PictureSource {
    CString strPath;
    CString strFormat; // "gif", "jpg" or "png"
    ULONGLONG nSize { 0 };
};

bool IsSentUnchanged(const CString& strFormat)
{
    return strFormat == "gif" || strFormat == "jpg" || strFormat == "png";
}

// Chooses what to send for the picture the reader holds: the file itself
// when the browser shows its format and it is small, else the smaller of the
// file and its rendering at strRendered. False when the rendering fails.
bool ChoosePicture(const CString& strRendered, PictureSource& source)
{
    CString strFile, strFormat;
    if (!GetContentPicture(strFile, strFormat))
        return false;
    CFileStatus status {};
    const bool bSendable = IsSentUnchanged(strFormat) && CFile::GetStatus(strFile, status);
    if (bSendable) {
        source = { strFile, strFormat, status.m_size };
        if (status.m_size <= CWACmdTipv::MAX_DIRECT_PICTURE)
            return true;
    }
    // A picture the renderer cannot read is taken as broken, even in a format
    // the browser could show.
    CFileStatus rendered {};
    if (!ConvertImageToPng(strRendered, CWACmdTipv::RENDER_SIZE, CWACmdTipv::RENDER_SIZE)
        || !CFile::GetStatus(strRendered, rendered))
        return false;
    if (!bSendable || rendered.m_size < status.m_size)
        source = { strRendered, "png", rendered.m_size };
    return true;
}

// The IMG token and the picture's bytes; nothing when it cannot be opened.
void SendPicture(CWAOutputFile& reply, const PictureSource& source)
{
    CFile file;
    if (!file.Open(source.strPath, CFile::modeRead | CFile::shareDenyNone))
        return;
    CString strToken;
    strToken.Format("\r\n<#IMG |%llu| |%s|#>\r\n", static_cast<unsigned long long>(source.nSize),
        static_cast<LPCTSTR>(source.strFormat));
    reply.WriteText(strToken);
    ULONGLONG nRemaining = source.nSize;
    BYTE buffer[COPY_BLOCK];
    while (nRemaining > 0) {
        const UINT nRead = file.Read(buffer, static_cast<UINT>(std::min<ULONGLONG>(nRemaining, COPY_BLOCK)));
        if (nRead == 0)
            break;
        reply.Write(buffer, nRead);
        nRemaining -= nRead;
    }
    file.Close();
}

} // namespace

BOOL CWACmdTipv::Execute(CWAOutputFile& reply, CWASession& session, int)
{
    CWATipPage page;
    page.strPath = GetItemPath();
    std::vector<char> buffer(TEXT_BUFFER, '\0');
    int nResult = CONTENT_UNREADABLE;
    if (m_eItemKind == ITEM_PATH) {
        page.strType = ShellTypeName(m_strPath);
        nResult = ReadFileContent(m_strPath, buffer.data(), TEXT_BUFFER);
    } else if (m_eItemKind == ITEM_DOCUMENT) {
        const auto pDocument = MakeVisibleDocument(session);
        if (pDocument == nullptr)
            return FALSE;
        pDocument->GetTypeName(page.strType);
        pDocument->GetNameWithLocation(page.strLocation);
        page.bDocument = true;
        // A document's file that is now a link shows nothing of where it points.
        if (!pDocument->IsMail() && IsLinkInPlaceOf(pDocument->GetFilePath()))
            nResult = CONTENT_UNREADABLE;
        else
            nResult = pDocument->ReadContent(buffer.data(), TEXT_BUFFER);
        if (nResult == CONTENT_PROTECTED && pDocument->IsMail())
            page.strText = LoadText(IDS_WA_TIP_MAIL_PROTECTED);
    } else {
        m_nStatus = WA_STATUS_UNAVAILABLE;
        return FALSE;
    }
    if (page.strText.IsEmpty())
        page.strText = buffer.data();

    const CString strRendered = GetProgramFolder() + RENDERED_PICTURE;
    PictureSource picture;
    if (nResult == CONTENT_PICTURE && !ChoosePicture(strRendered, picture))
        nResult = PICTURE_NOT_SENT;
    page.bPicture = nResult == CONTENT_PICTURE;
    page.nStatusId = ContentStatusText(nResult);
    WriteTipPage(reply, page);
    if (page.bPicture)
        SendPicture(reply, picture);
    DeleteFileForced(strRendered);
    return CheckReplyWritten(reply);
}

CString CWACmdTipv::GetLogText() const
{
    return "Get TIPVIEW - " + GetItemPath();
}
