#pragma once

// The commands that fetch one item for the remote browser: ATTR answers its
// name, size and date in one token, DOWN2 sends a token and then its bytes.
// The item is a drive path or a catalog document (a file, or a message kept
// in a mail store). Both keep the web catalog's file open while they exist.

#include "webaccess/server/CWACommand.h"

// Status of a file whose state cannot be read, of a document that is not
// available and of an unknown item kind.
constexpr int WA_STATUS_UNAVAILABLE = 4;
// Status of a mail reader that reports a failure.
constexpr int WA_STATUS_MAIL_FAILED = 5;
// Status of a password-protected document or file, which no profile may
// fetch: answered as a command the profile does not allow.
constexpr int WA_STATUS_PROTECTED = 6;

class CDocumentRec;
class CWAReplyBody;

// Base of ATTR and DOWN2: the catalog reference held while the command exists.
class CWAItemCommand : public CWAFileCommand {
public:
    explicit CWAItemCommand(int nId);
    ~CWAItemCommand() override;

protected:
    // The document of the command's reference, null without a catalog.
    std::unique_ptr<CDocumentRec> MakeDocument() const;
    // The document of the command's reference when the session may see it;
    // otherwise null, with status 4 for no document and 9 for one outside
    // the granted groups.
    std::unique_ptr<CDocumentRec> MakeVisibleDocument(CWASession& session);
    // The folder text, a backslash and the name of a document (a folder text
    // that ends in a backslash, as a file's does, gets no second one); the
    // shell parsing name of a path item; empty otherwise.
    CString GetItemPath() const;
    // TRUE when a document's file has been replaced by a link: nothing of
    // where it points is told or sent for the document.
    static bool IsLinkInPlaceOf(const CString& strFilePath);

private:
    CCatalog* m_pCatalog; // Acquired when not null
};

class CWACmdAttr : public CWAItemCommand {
public:
    CWACmdAttr()
        : CWAItemCommand(WA_CMD_ATTR)
    {
    }

    // Builds the ATTR2 token; FALSE with status 4 when the item is not available.
    BOOL Prepare(CWASession& session) override;
    // Writes the token.
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    // "Get ATTRIBUTES - path"
    CString GetLogText() const override;

private:
    void BuildFileReply(const CString& strPath, const CString& strItem);
    void BuildMailReply(const CDocumentRec& document, const CString& strItem);

    CString m_strReply;
};

class CWACmdDown2 : public CWAItemCommand {
public:
    CWACmdDown2();
    ~CWACmdDown2() override;

    // Switches the reply to the command's form (a plain file for the flag
    // "0") and sends the DOWN2 token and the item's bytes.
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    // "DOWNLOAD - path", with " (starting at - offset)" for an offset above 0.
    CString GetLogText() const override;

    // From now on a file's bytes are not written by Execute but left as a
    // body (TakeBody), for the server to write away from the user-interface
    // thread; the token before them is written as before.
    void DeferBody() { m_bDeferBody = true; }
    // The body left by Execute; null when none (a mail, a failure, nothing deferred).
    std::unique_ptr<CWAReplyBody> TakeBody();

private:
    // What a file to send was named by: a catalogued document's file must be
    // that file itself; a path of the explorer may pass through links.
    enum class FileKind { Catalogued, AnyPath };
    // Sends a regular file; anything else (a device, pipe or socket) and a
    // file that cannot be opened send nothing, with status 0. A catalogued
    // file that is now a link gives status 4; a password-protected file
    // status 6; both send nothing.
    void SendFile(CWAOutputFile& reply, const CString& strPath, FileKind eKind);
    // Sends a message only while its store still holds it at the recorded
    // place (LoadCatalogMessage); otherwise status 4 and nothing is sent.
    void SendMail(CWAOutputFile& reply, const CDocumentRec& document);

    bool m_bDeferBody { false };
    std::unique_ptr<CWAReplyBody> m_pBody;
};
