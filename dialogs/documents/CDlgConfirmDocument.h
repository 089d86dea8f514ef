#pragma once

// Asks whether to take a document's present state into its catalog entry,
// naming the document by its icon and path; the focus starts on Cancel.
// IDOK confirms. Its template is resource IDD_CONFIRM_DOCUMENT.

#include "platform/framework/CDialog.h"

class CDocumentRec;

class CDlgConfirmDocument : public CDialog {
public:
    // pDocument is kept by the caller.
    CDlgConfirmDocument(const CDocumentRec* pDocument, CWnd* pParent = nullptr);

protected:
    // Returns FALSE: the focus stays on Cancel.
    BOOL OnInitDialog() override;

private:
    const CDocumentRec* m_pDocument;
};
