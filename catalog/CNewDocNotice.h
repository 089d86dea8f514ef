#pragma once

// One entry of the new-document monitor's queue and of the lists the
// cataloguing dialogs show: a new file, a mail store that grew, or one new
// message of a store. It answers what those lists ask of an entry: its icon,
// its name, the description it proposes and the message's sender.
//
// A notice owns its message. The queue (CNewDocNoticeArray) holds notices by
// value; moving one into it moves the message with it.

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <memory>
#include <vector>

class CMailMessage;

class CNewDocNotice : public CObject {
public:
    // A plain file has store kind -1 and no message.
    static constexpr int STORE_NONE = -1;

    CNewDocNotice() = default;
    CNewDocNotice(LPCTSTR pszPath, int nStoreKind, std::unique_ptr<CMailMessage> pMessage = nullptr);
    ~CNewDocNotice() override;
    CNewDocNotice(CNewDocNotice&& other) noexcept;
    CNewDocNotice& operator=(CNewDocNotice&& other) noexcept;
    CNewDocNotice(const CNewDocNotice&) = delete;
    CNewDocNotice& operator=(const CNewDocNotice&) = delete;

    // The file path; for mail, the store file's path.
    const CString& GetPath() const { return m_strPath; }
    void SetPath(LPCTSTR pszPath) { m_strPath = pszPath; }
    // STORE_NONE, or the store kind (MAIL_STORE_*) of a store change or message.
    int GetStoreKind() const { return m_nStoreKind; }
    // The message, or null for a file and for a store change.
    CMailMessage* GetMessage() const { return m_pMessage.get(); }
    BOOL IsStoreChange() const { return m_nStoreKind != STORE_NONE && !m_pMessage ? TRUE : FALSE; }

    // The shell's icon of the file, or of mail items for a message; the caller destroys it.
    HICON GetIcon() const;
    // The path; for a message the store path, "\" and its subject (a text of
    // its own when it has none).
    CString GetDisplayName() const;
    // The description to propose: the beginning of the message's text or of
    // the file's text, at most MAX_NOTICE_DESCRIPTION bytes, cut at a
    // character boundary; empty when there is none.
    CString GetDescription() const;
    // The message's sender; empty for a file.
    CString GetMessageField() const;
    // The message's password, or the password of a file protected by this
    // program; empty otherwise.
    CString GetProtection() const;

private:
    CString m_strPath;
    int m_nStoreKind { STORE_NONE };
    std::unique_ptr<CMailMessage> m_pMessage;
};

// The longest description a notice proposes, in bytes.
constexpr int MAX_NOTICE_DESCRIPTION = 260;

// The monitor's queue and vanished list, oldest first.
using CNewDocNoticeArray = std::vector<CNewDocNotice>;
