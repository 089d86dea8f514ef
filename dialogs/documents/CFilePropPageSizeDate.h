#pragma once

// The Size and Dates page of a document's properties: its size and its
// creation, modification and last access times as the file (or the message)
// is now; for a document shown from the recycle bin, those of the copy the
// recycle folder keeps. Nothing shows for a document that cannot be reached.
// Its template is IDD_FILE_SIZE_DATE.

#include "platform/framework/CPropertyPage.h"

class CDocumentRec;

class CFilePropPageSizeDate : public CPropertyPage {
    DECLARE_DYNCREATE(CFilePropPageSizeDate)

public:
    CFilePropPageSizeDate();

    // Before the sheet is made: the document (kept by the caller), shown
    // from the recycle bin with bRecycle.
    void SetDocument(CDocumentRec* pDocument, BOOL bRecycle);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    // Fills the texts from the kept copy in the recycle folder; FALSE when it cannot be read.
    BOOL ReadRecycledCopy();
    // Fills the texts from the document's state; FALSE when it cannot be reached.
    BOOL ReadDocument();
    void DisableLabels();

    CString m_strCopyName;
    CString m_strSize;
    CString m_strAccessed;
    CString m_strCreated;
    CString m_strModified;
    CDocumentRec* m_pDocument { nullptr };
    BOOL m_bRecycle { FALSE };
};
