#pragma once

// CDlgDocDescription: edits a document's description (at most
// MAX_DESCRIPTION characters), beside the document's icon and path. Without a
// preset text it starts from the stored description; with one (the preview's
// selection) from that text, under its own caption.

#include "platform/framework/CDialog.h"

class CDocumentRec;

class CDlgDocDescription : public CDialog {
public:
    static constexpr int MAX_DESCRIPTION = 259; // bytes of the record's field less its terminator

    // The document stays the caller's for the dialog's life.
    CDlgDocDescription(const CDocumentRec& document, CWnd* pParent);

    // A text to start from instead of the stored description; it is cut at
    // a character boundary to MAX_DESCRIPTION bytes.
    void SetPresetText(const CString& strText);
    // The text as the user left it (after IDOK).
    const CString& GetText() const { return m_strText; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    const CDocumentRec& m_document;
    CString m_strPath;
    CString m_strText;
    BOOL m_bPreset { FALSE };
};
