#pragma once

// One message of a mail store, and the reader that finds it. Each store kind
// derives from this class; callers create one by kind, own it and delete it
// through the virtual destructor.
//
// A message object is made in one of two ways:
//  - empty (default constructor), then filled by ReadNext, which reads the next
//    message of a store from a resume position;
//  - from the values a catalog record keeps (store identifier, offset, length,
//    full path, store path), then filled by Load.
// Open/Seek/Read give the exact stored bytes of a message independently of
// both: callers seek to the record's offset and read up to its length.
//
// The virtual functions are declared in the order of the interface's slots;
// keep new ones at the end.

#include "mail/CMailHeaders.h"
#include "mail/MailFile.h"
#include "platform/base/CString.h"

#include <ctime>
#include <optional>
#include <string>

class CMailMessage {
public:
    CMailMessage() = default;
    CMailMessage(DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath);
    CMailMessage(const CMailMessage&) = delete;
    CMailMessage& operator=(const CMailMessage&) = delete;

    virtual ~CMailMessage();
    // FALSE for a message the store flags deleted or expunged, and for one not read.
    virtual BOOL IsValid() const;
    virtual int GetStoreKind() const = 0;
    // The message's protection value (a password), empty when unprotected.
    virtual CString GetProtection() const;
    // Identifies the message in its store: its separator offset (Netscape), its
    // message number (Outlook Express 4) or its index (Outlook Express 5).
    virtual DWORD GetStoreId() const;
    virtual CString GetSubject() const;
    // The plain body text, decoded to UTF-8.
    virtual CString GetText() const;
    // The sender as shown to the user, into a buffer of MAIL_MAX_PATH characters.
    virtual void GetExtraField(char* pszBuffer) const;
    // The From list, into a buffer of nLength characters with the terminator.
    virtual void GetAddressList1(char* pszBuffer, int nLength) const;
    // The To list.
    virtual void GetAddressList2(char* pszBuffer, int nLength) const;
    // The Cc list.
    virtual void GetCcList(char* pszBuffer, int nLength) const;
    // Every header line as "Name: value\r\n", decoded.
    virtual CString GetHeaderLines() const;
    // The Date header as seconds since 1970, 0 when absent.
    virtual time_t GetDate() const;
    // Where the stored bytes of the message begin, in the form Seek takes.
    virtual DWORD GetOffset() const;
    // How many bytes Read gives for the whole message.
    virtual DWORD GetLength() const;
    // Where ReadNext resumes after this message: a file offset (Netscape,
    // Outlook Express 4) or a message count (Outlook Express 5).
    virtual DWORD GetPosition() const;
    // Opens a store file for Seek and Read; 0 on success.
    virtual int Open(LPCTSTR pszStorePath);
    virtual void Close();
    // Positions the reading at a message offset; 0 on success, MAIL_ERR_SEEK outside the store.
    virtual int Seek(DWORD dwOffset);
    // Reads up to nCount bytes; the count read, 0 or less at the end or on failure.
    virtual int Read(void* pBuffer, int nCount);
    // Loads the message the constructor's catalog values name, from a store path
    // (empty: the store path given to the constructor); 0 = loaded.
    virtual int Load(LPCTSTR pszStorePath) = 0;
    // Reads the next message of a store from a resume position (0 = the start).
    // MAIL_OK or MAIL_DELETED mean a message was read; anything else ends the store.
    virtual int ReadNext(LPCTSTR pszStorePath, DWORD dwPosition, int nMaxPath) = 0;
    // The first failure's code, 0 while none has occurred.
    virtual int GetResult() const;
    // Changes the protection value; the old value must match the current one. 0 on success.
    virtual int SetProtection(LPCTSTR pszNewPassword, LPCTSTR pszOldPassword);

    // The catalog name the full path given to the constructor carries.
    const CString& GetFullPath() const { return m_strFullPath; }
    // The stored bytes of a message read by ReadNext or Load.
    const std::string& GetRawMessage() const { return m_strRaw; }
    // A reorganisation moved the message: its new identifier, offset and length.
    void MoveTo(DWORD dwStoreId, DWORD dwOffset, DWORD dwLength);

protected:
    // Records a message read from the store and forgets what was parsed before.
    void SetMessage(
        DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, DWORD dwPosition, std::string strRaw, BOOL bDeleted);
    // Records a failure and returns its code.
    int Fail(int nResult);
    // Checks a store path against a path limit and opens it for reading when it is
    // not already open; 0 on success.
    [[nodiscard]] int OpenStoreForScan(LPCTSTR pszStorePath, int nMaxPath);
    // The store path Load reads: the given one, else the constructor's.
    CString StorePathForLoad(LPCTSTR pszStorePath) const;

    CMailFile m_file;          // The store file, for ReadNext, Load and Read
    CString m_strOpenPath;     // The program path m_file was opened with
    uint64_t m_nReadPos { 0 }; // Next byte Read gives

private:
    CMailHeaders& Headers() const;

    DWORD m_dwStoreId { 0 };
    DWORD m_dwOffset { 0 };
    DWORD m_dwLength { 0 };
    DWORD m_dwPosition { 0 };
    CString m_strFullPath;
    CString m_strStorePath;
    std::string m_strRaw;
    BOOL m_bLoaded { FALSE };
    BOOL m_bDeleted { FALSE };
    int m_nResult { 0 };
    std::optional<CString> m_strProtection; // Set by SetProtection, else from the message
    // Parsed on first use: the header fields from the header block alone, and
    // the text from the whole message, so a walk that shows subjects, senders
    // and dates never parses bodies.
    mutable std::optional<CMailHeaders> m_headers;
    mutable std::optional<std::string> m_strText;
};

// Copies UTF-8 text into a fixed buffer of nLength characters with the
// terminator, cut at a character boundary.
void CopyMailText(const std::string& strText, char* pszBuffer, int nLength);
