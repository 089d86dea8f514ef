#pragma once

// The command framework of the web access service. A request is one token:
// "<#" + command word + fields, each "|text|" with optional white space
// around, + optional white space + "#>". CreateWebCommand turns a token into
// a command object whose parser has set its status; the server runs it in the
// user's session (CWASession) and deletes it, except a kept WFIND.
//
// Status codes: 1 made, not parsed; 0 well-formed; 2 malformed or refused;
// 9 the named file or catalog document does not exist; 12 a write of the
// reply failed; a failing Prepare or Execute leaves its own code. A catalog reference is checked by the parser,
// a path only when the command runs, after the session has checked that the
// profile may reach the file system at all: a refused profile must not learn
// which paths exist.

#include "platform/base/CString.h"
#include "webaccess/profiles/WebCommandIds.h"

#include <memory>
#include <string_view>

class CCatalog;
class CWAOutputFile;
class CWASession;
class CWASessionPlace;

constexpr int WA_STATUS_MADE = 1;
constexpr int WA_STATUS_OK = 0;
constexpr int WA_STATUS_MALFORMED = 2;
constexpr int WA_STATUS_MISSING = 9;
// A write of the reply failed: what reached the reply is short.
constexpr int WA_STATUS_REPLY_FAILED = 12;

class CWACommand {
public:
    explicit CWACommand(int nId)
        : m_nId(nId)
    {
    }
    virtual ~CWACommand() = default;
    CWACommand(const CWACommand&) = delete;
    CWACommand& operator=(const CWACommand&) = delete;

    /* Running. The base Prepare and Execute succeed and write nothing. */

    // Gets ready to run in the session; FALSE leaves the error code in status.
    virtual BOOL Prepare(CWASession& session);
    // Writes the reply. nArgument is 1 for a normal run and the page number
    // when a kept command is asked for another page. FALSE leaves the error
    // code in status.
    virtual BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument);
    // After a successful run, stores where the user now is.
    virtual void SetContext(CWASessionPlace& place);
    // The line the server logs for the command.
    virtual CString GetLogText() const = 0;
    // TRUE when the command reaches the file system by a path from the
    // request, which only a profile with the explorer right may do.
    virtual BOOL NeedsExplorerRight() const { return FALSE; }
    // Parses the text after the command word; sets status and consumed.
    virtual void ParseArgs(LPCTSTR pszText) = 0;

    int GetId() const { return m_nId; }
    int GetStatus() const { return m_nStatus; }
    void SetStatus(int nStatus) { m_nStatus = nStatus; }
    // Characters of the token read, from the word's first letter up to, not
    // including, the closing "#>".
    int GetConsumed() const { return m_nConsumed; }
    void AddConsumed(int nCount) { m_nConsumed += nCount; }

protected:
    // TRUE when every write of the reply succeeded; otherwise FALSE with
    // status 12. The page writers go on after a failed write; the command
    // reports it once the reply is written.
    BOOL CheckReplyWritten(const CWAOutputFile& reply);

    int m_nStatus { WA_STATUS_MADE };
    int m_nConsumed { 0 };

private:
    int m_nId;
};

// Base of the commands that take no arguments: only white space before "#>".
class CWABasicCommand : public CWACommand {
public:
    using CWACommand::CWACommand;
    void ParseArgs(LPCTSTR pszText) override;
};

// Base of the commands on one file or catalog document (ATTR, DOWN2, TIPV).
// Fields: the item, then optionally an offset and a flag. The item is
// "*block,slot" for a document of the web catalog (GetWebCatalog) or a
// drive path ("X:\..." with '/' read as '\', below MAX_PATH characters).
class CWAFileCommand : public CWACommand {
public:
    enum ItemKind { ITEM_NONE, ITEM_DOCUMENT, ITEM_PATH };

    using CWACommand::CWACommand;
    // A path item must exist: FALSE with status 9 when it does not.
    BOOL Prepare(CWASession& session) override;
    // Path items need the explorer right.
    BOOL NeedsExplorerRight() const override { return m_eItemKind == ITEM_PATH ? TRUE : FALSE; }
    void ParseArgs(LPCTSTR pszText) override;

protected:
    ItemKind m_eItemKind { ITEM_NONE };
    CString m_strPath; // ITEM_PATH: the program path
    LONG m_nBlock { 0 };
    LONG m_nSlot { 0 };
    LONG m_nOffset { 0 };
    int m_nFlag { 1 }; // 0 only when the flag field is "0"
};

/* The factory and its helpers. */

// The command of a token, owned by the caller, whatever its status; null when
// the text does not begin with "<#" or names no command word.
std::unique_ptr<CWACommand> CreateWebCommand(LPCTSTR pszToken);
// The row (0 to 12) of the word that begins pszText and is not followed by a
// letter; -1 when there is none.
int FindCommandWord(LPCTSTR pszText);
// TRUE when a path from the network names a place on a drive: "X:\" and
// below, with no control characters. UNC names and relative paths are refused.
BOOL IsAcceptedWebPath(const CString& strPath);
// The decimal number of the nLength characters at pszText: digits only, an
// empty text is 0, and the number must stay below 214748364 before each
// further digit.
BOOL ParseNumberField(LPCTSTR pszText, int nLength, LONG* pnNumber);

/* The catalog the commands read: the program's main catalog, set where the
   program opens it and cleared before it closes (the server's sessions ended
   first). Null means no catalog, so no catalog document exists. The grants
   of the groups it deletes end at once (CWAGroupWatch). */

void SetWebCatalog(CCatalog* pCatalog);
CCatalog* GetWebCatalog();
// The web catalog acquired for a command's lifetime; null when there is none
// or it cannot be acquired. The commands only read, so the release flushes
// nothing; null is released as nothing.
CCatalog* AcquireWebCatalog();
void ReleaseWebCatalog(CCatalog* pCatalog);
