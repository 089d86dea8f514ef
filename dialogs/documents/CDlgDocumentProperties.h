#pragma once

// A catalogued document's properties (the General, Attributes and Size and
// Dates pages) with the group it is filed under, or a button listing its
// groups. OK writes what changed, in this order: a new folder moves the
// document's file and entry (a failed move keeps the dialog open on the
// General page); the password changes on the file and the record together;
// then the texts, expiry, version number and open action in one record
// write, which also files the document under the expiring documents or takes
// it out; last the favourites link. Shown from the recycle bin it is
// read-only and OK writes nothing. Cancel writes nothing, apart from the
// correction below. Its template is resource IDD_DOCUMENT_PROPERTIES.
//
// A protected file whose header holds another password than its record
// has the record corrected as soon as the dialog is made (the views are told
// to re-read), unless the file lacks its protection on purpose while it is open.

#include "dialogs/documents/CFilePropSheet.h"
#include "ui/CHotButton.h"
#include "ui/CNodePathCtrl.h"

#include "platform/framework/CDialog.h"

#include <memory>

class CDocumentRec;

class CDlgDocumentProperties : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    // pDocument is kept by the caller and outlives the dialog.
    CDlgDocumentProperties(CDocumentRec* pDocument, BOOL bRecycle, CWnd* pParent = nullptr);
    ~CDlgDocumentProperties() override;

    // After IDOK: TRUE when the catalog changed (a move, an expiry), FALSE
    // when only the document's properties did.
    BOOL IsCatalogChanged() const { return m_bChanged; }
    // After IDOK: the document object a move made, which the caller takes;
    // null when the document did not move.
    std::unique_ptr<CDocumentRec> DetachMovedDocument();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnGroups();

private:
    void CorrectPasswordFromHeader();
    // Step 3 of OK: a folder other than the document's moves it; FALSE when the move failed.
    BOOL MoveIfRelocated(const CString& strLocation);
    // Changes the password on the file and the record together, or reports
    // why the old one stays.
    void ChangePassword(const CString& strNew);

    CNodePathCtrl m_nodePath;
    CHotButton m_groups;
    CFilePropSheet m_sheet;
    CDocumentRec* m_pDocument;
    std::unique_ptr<CDocumentRec> m_pMoved;
    CString m_strPath;
    BOOL m_bRecycle;
    BOOL m_bChanged { FALSE };
    BOOL m_bBusy { FALSE };
};
