#include "webaccess/server/CWACommand.h"

#include "platform/base/FileFunctions.h"
#include "store/CCatalog.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/server/CWACmdEdir.h"
#include "webaccess/server/CWACmdEtree.h"
#include "webaccess/server/CWACmdTipv.h"
#include "webaccess/server/CWACmdUpl.h"
#include "webaccess/server/CWACmdVupl.h"
#include "webaccess/server/CWACmdWdir.h"
#include "webaccess/server/CWACmdWfind.h"
#include "webaccess/server/CWACmdWtree.h"
#include "webaccess/server/CWAGroupWatch.h"
#include "webaccess/server/ExplorerFolders.h"
#include "webaccess/server/FileCommands.h"
#include "webaccess/server/TokenFields.h"
#include "webaccess/server/WebCommands.h"

#include <cctype>
#include <cstring>

namespace {

struct WA_COMMAND_WORD {
    LPCTSTR pszWord;
    int nLength;
    int nId;
};

// Sorted by word for the binary search of FindCommandWord.
constexpr WA_COMMAND_WORD COMMAND_WORDS[13] = {
    { "ATTR", 4, WA_CMD_ATTR },
    { "DOWN2", 5, WA_CMD_DOWN2 },
    { "EDIR", 4, WA_CMD_EDIR },
    { "ETREE", 5, WA_CMD_ETREE },
    { "LOGIN", 5, WA_CMD_LOGIN },
    { "LOGOUT", 6, WA_CMD_LOGOUT },
    { "PAGE", 4, WA_CMD_PAGE },
    { "TIPV", 4, WA_CMD_TIPV },
    { "UPL", 3, WA_CMD_UPL },
    { "VUPL", 4, WA_CMD_VUPL },
    { "WDIR", 4, WA_CMD_WDIR },
    { "WFIND", 5, WA_CMD_WFIND },
    { "WTREE", 5, WA_CMD_WTREE },
};

constexpr LONG NUMBER_LIMIT = 214748364; // A number must stay below this before a further digit

CCatalog* g_pWebCatalog = nullptr;

bool IsWhiteSpace(char ch)
{
    return ch == ' ' || ch == '\t';
}

} // namespace

BOOL IsAcceptedWebPath(const CString& strPath)
{
    if (strPath.GetLength() < 3 || !std::isalpha(static_cast<unsigned char>(strPath[0])) || strPath[1] != ':'
        || strPath[2] != '\\')
        return FALSE;
    for (int i = 0; i < strPath.GetLength(); ++i) {
        if (static_cast<unsigned char>(strPath[i]) < 32)
            return FALSE;
    }
    return TRUE;
}

/**************************** Command base ****************************/

BOOL CWACommand::Prepare(CWASession&)
{
    return TRUE;
}

BOOL CWACommand::Execute(CWAOutputFile&, CWASession&, int)
{
    return TRUE;
}

void CWACommand::SetContext(CWASessionPlace&) { }

BOOL CWACommand::CheckReplyWritten(const CWAOutputFile& reply)
{
    if (!reply.HasWriteFailed())
        return TRUE;
    m_nStatus = WA_STATUS_REPLY_FAILED;
    return FALSE;
}

/**************************** Field reader ****************************/

void CTokenFieldReader::SkipWhiteSpace()
{
    while (IsWhiteSpace(*m_pszNext)) {
        ++m_pszNext;
        m_command.AddConsumed(1);
    }
}

BOOL CTokenFieldReader::ReadField(std::string_view& field)
{
    SkipWhiteSpace();
    if (*m_pszNext != '|')
        return Fail();
    const char* pszText = m_pszNext + 1;
    const char* pszEnd = pszText;
    while (*pszEnd != '\0' && *pszEnd != '|' && *pszEnd != '\r' && *pszEnd != '\n')
        ++pszEnd;
    if (*pszEnd != '|')
        return Fail();
    field = std::string_view(pszText, static_cast<size_t>(pszEnd - pszText));
    m_command.AddConsumed(static_cast<int>(field.size()) + 2);
    m_pszNext = pszEnd + 1;
    return TRUE;
}

BOOL CTokenFieldReader::AtEnd()
{
    SkipWhiteSpace();
    return m_pszNext[0] == '#' && m_pszNext[1] == '>' ? TRUE : FALSE;
}

BOOL CTokenFieldReader::Finish()
{
    if (!AtEnd())
        return Fail();
    m_command.SetStatus(WA_STATUS_OK);
    return TRUE;
}

BOOL CTokenFieldReader::Fail()
{
    m_command.SetStatus(WA_STATUS_MALFORMED);
    return FALSE;
}

/**************************** Common parsers ****************************/

void CWABasicCommand::ParseArgs(LPCTSTR pszText)
{
    CTokenFieldReader reader(pszText, *this);
    reader.Finish();
}

void CWAFileCommand::ParseArgs(LPCTSTR pszText)
{
    CTokenFieldReader reader(pszText, *this);
    std::string_view item;
    if (!reader.ReadField(item))
        return;
    if (!item.empty() && item[0] == '*') {
        const size_t nComma = item.find(',');
        if (nComma == std::string_view::npos
            || !ParseNumberField(item.data() + 1, static_cast<int>(nComma - 1), &m_nBlock)
            || !ParseNumberField(item.data() + nComma + 1, static_cast<int>(item.size() - nComma - 1), &m_nSlot)) {
            reader.Fail();
            return;
        }
        m_eItemKind = ITEM_DOCUMENT;
        CCatalog* pCatalog = GetWebCatalog();
        if (pCatalog == nullptr || !pCatalog->Acquire()) {
            m_nStatus = WA_STATUS_MISSING;
            return;
        }
        const BOOL bExists = pCatalog->CheckRecord(m_nBlock, m_nSlot, TABLE_DOCUMENT);
        static_cast<void>(pCatalog->Release()); // A check leaves nothing to flush.
        if (!bExists) {
            m_nStatus = WA_STATUS_MISSING;
            return;
        }
    } else {
        if (item.size() >= MAX_PATH) {
            reader.Fail();
            return;
        }
        m_strPath = CString(item.data(), static_cast<int>(item.size()));
        m_strPath.Replace('/', '\\');
        if (!IsAcceptedWebPath(m_strPath)) {
            reader.Fail();
            return;
        }
        m_eItemKind = ITEM_PATH; // Whether it exists is asked in Prepare
    }
    if (reader.AtEnd()) {
        reader.Finish();
        return;
    }
    std::string_view offset;
    if (!reader.ReadField(offset))
        return;
    // The offset ends at the field's end or at a ','.
    const size_t nDigits = std::min(offset.find(','), offset.size());
    if (!ParseNumberField(offset.data(), static_cast<int>(nDigits), &m_nOffset)) {
        reader.Fail();
        return;
    }
    if (reader.AtEnd()) {
        reader.Finish();
        return;
    }
    std::string_view flag;
    if (!reader.ReadField(flag))
        return;
    if (flag.size() != 1) {
        reader.Fail();
        return;
    }
    m_nFlag = flag[0] == '0' ? 0 : 1;
    reader.Finish();
}

BOOL CWAFileCommand::Prepare(CWASession&)
{
    // The program folder is not there for the explorer, as if it did not exist.
    if (m_eItemKind == ITEM_PATH && (_access(m_strPath, 0) != 0 || IsOutsideExplorer(m_strPath))) {
        m_nStatus = WA_STATUS_MISSING;
        return FALSE;
    }
    return TRUE;
}

/**************************** The factory ****************************/

std::unique_ptr<CWACommand> CreateWebCommand(LPCTSTR pszToken)
{
    if (pszToken == nullptr || pszToken[0] != '<' || pszToken[1] != '#')
        return nullptr;
    const int nRow = FindCommandWord(pszToken + 2);
    if (nRow < 0)
        return nullptr;
    const WA_COMMAND_WORD& word = COMMAND_WORDS[nRow];
    std::unique_ptr<CWACommand> pCommand;
    switch (word.nId) {
    case WA_CMD_ATTR:
        pCommand = std::make_unique<CWACmdAttr>();
        break;
    case WA_CMD_DOWN2:
        pCommand = std::make_unique<CWACmdDown2>();
        break;
    case WA_CMD_EDIR:
        pCommand = std::make_unique<CWACmdEdir>();
        break;
    case WA_CMD_ETREE:
        pCommand = std::make_unique<CWACmdEtree>();
        break;
    case WA_CMD_LOGIN:
        pCommand = std::make_unique<CWACmdLogin>();
        break;
    case WA_CMD_LOGOUT:
        pCommand = std::make_unique<CWACmdLogout>();
        break;
    case WA_CMD_PAGE:
        pCommand = std::make_unique<CWACmdPage>();
        break;
    case WA_CMD_VUPL:
        pCommand = std::make_unique<CWACmdVupl>();
        break;
    case WA_CMD_WDIR:
        pCommand = std::make_unique<CWACmdWdir>();
        break;
    case WA_CMD_WFIND:
        pCommand = std::make_unique<CWACmdWfind>();
        break;
    case WA_CMD_TIPV:
        pCommand = std::make_unique<CWACmdTipv>();
        break;
    case WA_CMD_UPL:
        pCommand = std::make_unique<CWACmdUpl>();
        break;
    case WA_CMD_WTREE:
        pCommand = std::make_unique<CWACmdWtree>();
        break;
    default:
        // Every word of the table has its case above.
        return nullptr;
    }
    pCommand->ParseArgs(pszToken + 2 + word.nLength);
    pCommand->AddConsumed(word.nLength);
    return pCommand;
}

int FindCommandWord(LPCTSTR pszText)
{
    int nLow = 0;
    int nHigh = static_cast<int>(std::size(COMMAND_WORDS)) - 1;
    while (nLow <= nHigh) {
        const int nMiddle = (nLow + nHigh) / 2;
        const WA_COMMAND_WORD& word = COMMAND_WORDS[nMiddle];
        const int nCompare = std::strncmp(pszText, word.pszWord, static_cast<size_t>(word.nLength));
        if (nCompare == 0 && !std::isalpha(static_cast<unsigned char>(pszText[word.nLength])))
            return nMiddle;
        // A longer word that starts with this one counts as greater.
        if (nCompare < 0)
            nHigh = nMiddle - 1;
        else
            nLow = nMiddle + 1;
    }
    return -1;
}

BOOL ParseNumberField(LPCTSTR pszText, int nLength, LONG* pnNumber)
{
    LONG nNumber = 0;
    for (int i = 0; i < nLength; ++i) {
        const char ch = pszText[i];
        if (ch < '0' || ch > '9' || nNumber >= NUMBER_LIMIT)
            return FALSE;
        nNumber = nNumber * 10 + (ch - '0');
    }
    *pnNumber = nNumber;
    return TRUE;
}

void SetWebCatalog(CCatalog* pCatalog)
{
    g_pWebCatalog = pCatalog;
    CWAGroupWatch::Get().Watch(pCatalog);
}

CCatalog* GetWebCatalog()
{
    return g_pWebCatalog;
}

CCatalog* AcquireWebCatalog()
{
    CCatalog* pCatalog = GetWebCatalog();
    return pCatalog != nullptr && pCatalog->Acquire() ? pCatalog : nullptr;
}

void ReleaseWebCatalog(CCatalog* pCatalog)
{
    if (pCatalog != nullptr)
        static_cast<void>(pCatalog->Release());
}
