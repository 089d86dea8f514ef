#pragma once

// The popups below the folder popup's mail row: the users of the installed
// mail clients ("MailerUserPopupWnd", one row per user marked with its
// client's name, opening the user's folders) and their mail folders, one
// level per popup ("MailboxPopupWnd"). Choosing a folder gives a
// CMailboxPath; a user row gives nothing. The users and folders belong to
// the mail client set, which outlives the popups; a row carries its
// position in the list's array of them.

#include "mail/CMailer.h"
#include "platform/base/CObject.h"
#include "platform/framework/CImageList.h"
#include "ui/CPopupCtrl.h"
#include "ui/CPopupWnd.h"
#include "ui/PopupRowLook.h"

#include <vector>

class CMailClientSet;

// A chosen mail folder: its store kind, mailbox file and display path (the
// user's name and the folders' names down to it, joined by backslashes).
class CMailboxPath : public CObject {
    DECLARE_DYNAMIC(CMailboxPath)

public:
    CMailboxPath(DWORD dwStoreKind, const CString& strMailbox, const CString& strDisplayPath);

    DWORD m_dwStoreKind;
    CString m_strMailbox;
    CString m_strDisplayPath;
};

// What the two mail lists share: the item and arrow images, the look and the width.
class CMailPopupCtrl : public CPopupCtrl {
    DECLARE_DYNAMIC(CMailPopupCtrl)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int MAILBOX_IMAGE = 0;
    static constexpr int USER_IMAGE = 1;

    CMailPopupCtrl();

    int GetPopupWidth() override { return m_nWidest; }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    // The image this list's rows show.
    virtual int GetRowImage() const = 0;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

    CImageList* m_pImages; // shared, null when the bitmap is missing
    CImageList* m_pArrows; // shared, null when the bitmap is missing
    CPopupRowLook m_look;
    int m_nWidest { 0 };
};

class CMailerUserPopupCtrl : public CMailPopupCtrl {
    DECLARE_DYNAMIC(CMailerUserPopupCtrl)

public:
    // The users of Netscape, Outlook Express 4 and 5, of each client whose scan found users.
    void FillFromClients(CMailClientSet* pClients);
    // The users of the client of that store kind, last to first, "name ( client )".
    void FillUsers(CMailClientSet* pClients, int nStoreKind);
    const CMailerUserEntry* GetUser(int nIndex) const;

    CPopupWnd* CreateChildPopup(int nIndex) override;

protected:
    int GetRowImage() const override { return USER_IMAGE; }

private:
    std::vector<const CMailerUserEntry*> m_users;
};

class CMailboxPopupCtrl : public CMailPopupCtrl {
    DECLARE_DYNAMIC(CMailboxPopupCtrl)

public:
    // The folders of one level, last to first; pszBasePath (null: none) is
    // the display path of the level, which gets a backslash.
    void FillFolders(LPCTSTR pszBasePath, const CMailFolderArray* pFolders);
    const CMailFolderEntry* GetFolder(int nIndex) const;
    const CString& GetBasePath() const { return m_strBasePath; }

    // A new CMailboxPath for the folder, owned by the caller.
    void* GetItemResult(int nIndex) override;
    CPopupWnd* CreateChildPopup(int nIndex) override;

protected:
    int GetRowImage() const override { return MAILBOX_IMAGE; }

private:
    CString m_strBasePath;
    const CMailFolderArray* m_pFolders { nullptr };
};

class CMailerUserPopupWnd : public CPopupWnd {
public:
    CMailerUserPopupWnd();
    CPopupCtrl* GetPopupCtrl() override { return &m_list; }
    CMailerUserPopupCtrl& GetUserList() { return m_list; }

private:
    CMailerUserPopupCtrl m_list;
};

class CMailboxPopupWnd : public CPopupWnd {
public:
    CMailboxPopupWnd();
    CPopupCtrl* GetPopupCtrl() override { return &m_list; }
    CMailboxPopupCtrl& GetMailboxList() { return m_list; }

private:
    CMailboxPopupCtrl m_list;
};
