#pragma once

// Copies a document's file under a new name into a chosen folder, without
// password protection, and catalogs the copy under the original's groups
// (not under its favourites or expiring documents, which are the
// original's); a copy onto a removable medium is not catalogued. A protected
// document asks its password before anything shows (Cancel ends the dialog).
// OK stays disabled while the new name is empty, the original's, or no valid
// file name. Each step of OK that fails says why and keeps the dialog open.
// Its template is resource IDD_CHOOSE_FOLDER.

#include "ui/CHotButton.h"
#include "ui/CPopupFolderPicker.h"

#include "platform/framework/CDialog.h"

#include <memory>

class CCmdUI;
class CDocumentRec;

class CDlgChooseFolder : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    // nIDCaption: the caption string; pDocument is kept by the caller.
    CDlgChooseFolder(UINT nIDCaption, CDocumentRec* pDocument, CWnd* pParent = nullptr);
    ~CDlgChooseFolder() override;

    // After IDOK: the copy's path, and its catalog entry (null on a removable medium).
    const CString& GetCopyPath() const { return m_strCopyPath; }
    const CDocumentRec* GetCopy() const { return m_pCopy.get(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    void OnUpdateOK(CCmdUI* pCmdUI);
    void OnBrowse();

private:
    // The steps of OK; each FALSE when it failed (and said why).
    BOOL CheckTarget();
    BOOL CheckName();
    BOOL CopyFile();
    BOOL UnprotectCopy();
    void CatalogCopy();

    CHotButton m_browse;
    CPopupFolderPicker m_picker;
    CDocumentRec* m_pDocument;
    UINT m_nIDCaption;
    CString m_strName; // the original's name
    CString m_strNewName;
    CString m_strTarget;
    CString m_strDescription;
    CString m_strPassword; // in force on the original
    CString m_strCopyPath;
    std::unique_ptr<CDocumentRec> m_pCopy;
    BOOL m_bRemovable { FALSE };
};
