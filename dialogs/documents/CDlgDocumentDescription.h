#pragma once

// Shows a catalogued document with the beginning of its readable content (a
// picture is shown in the content's place) and lets the user edit its
// description, also by taking a selection of the content. A protected
// document asks its password before anything shows (Cancel ends the dialog).
// OK, and Open once the document opened, write a changed description into the
// catalog and end the dialog with IDOK or IDC_OPEN_DOCUMENT; when the write
// fails (the store has said why) the dialog stays open. Cancel writes
// nothing. Its template is resource IDD_DOCUMENT_DESCRIPTION.
//
// Without a window, DescriptionFromContent gives the document the beginning
// of its content as its description.

#include "store/CDocumentRec.h"
#include "ui/CLabelCtrl.h"
#include "ui/ZoomPicture.h"

#include "platform/framework/CDialog.h"
#include "platform/framework/CEdit.h"

class CCmdUI;

class CDlgDocumentDescription : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    // The content read for showing, in bytes with the terminator.
    static constexpr int CONTENT_BYTES = 32000;
    // What the record's description holds, so nothing typed is cut unseen.
    static constexpr int MAX_DESCRIPTION = CDocumentRec::MAX_TEXT;

    // pDocument is kept by the caller.
    CDlgDocumentDescription(CDocumentRec* pDocument, CWnd* pParent = nullptr);
    ~CDlgDocumentDescription() override;

    // The description as the user left it.
    const CString& GetDescription() const { return m_strDescription; }
    // The picture shown over the content; null when it shows text.
    const CZoomWnd* GetPicture() const { return m_zoom.pWnd; }

    // Writes the beginning of the document's content (a protected message:
    // the text that says so) as its description: a CDocumentRec
    // DESCRIPTION_ code; DESCRIPTION_UNCHANGED also when there is no text.
    int DescriptionFromContent();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    void OnOK() override;
    void OnUpdateSelectionToDescription(CCmdUI* pCmdUI);
    void OnSelectionToDescription();
    void OnOpenDocument();
    void OnDestroy();

private:
    // Reads the content into the edit, or shows the picture over it, and
    // says in the status line what was found.
    void ShowContent();
    // Takes the description from its edit and writes it when it changed;
    // then ends the dialog with nResult, unless the write failed.
    void WriteAndEnd(int nResult);

    CDocumentRec* m_pDocument;
    CEdit m_description;
    CEdit m_content;
    CLabelCtrl m_status;
    CString m_strType;
    CString m_strDescription;
    BOOL m_bContent { TRUE }; // the content edit holds text
    CZoomSlot m_zoom;
};
