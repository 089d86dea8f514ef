#pragma once

// The General page of a document's properties: its description, its folder
// (a file's, which can be changed by typing or browsing) and its secondary
// text (for a mail message one of its address lines), and whether it is a
// favourite. The page never writes the catalog: the dialog reads the public
// texts after the sheet exchanged its data. Its template is IDD_FILE_GENERAL.
//
// The folder, the secondary text and the browse button are locked for a
// document shown from the recycle bin, one that cannot be reached (expiry
// states 2, 3 and 6) and a mail message; the favourite box for the recycle bin
// and a message deleted from its store. The description can always be edited.

#include "ui/CHotButton.h"
#include "ui/CImageButton.h"
#include "ui/CPopupFolderPicker.h"

#include "platform/framework/CComboBox.h"
#include "platform/framework/CPropertyPage.h"

#include <vector>

class CDocumentRec;

class CFilePropPageGeneral : public CPropertyPage {
    DECLARE_DYNCREATE(CFilePropPageGeneral)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int MAX_TEXT = 259;

    CFilePropPageGeneral();

    // Before the sheet is made: the texts and flags of pDocument (kept by
    // the caller); bRecycle when it is shown from the recycle bin. A mail
    // message's address lines are read from its store.
    void SetDocument(const CDocumentRec* pDocument, BOOL bRecycle);

    // The page's values, read by the dialog after the exchange.
    CString m_strDescription;
    CString m_strLocation;
    CString m_strSecondary; // a file's secondary text
    CString m_strComboText; // a mail message's chosen address line
    int m_bFavorite { FALSE };

    BOOL IsMail() const { return m_bMail; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnBrowse();

private:
    // Whether the folder and secondary text may not be edited.
    BOOL IsLocked() const;

    CImageButton m_picture;
    CHotButton m_browse;
    CPopupFolderPicker m_picker;
    CComboBox m_addressCombo; // a mail message's address lines
    std::vector<CString> m_addressLines;
    BOOL m_bRecycle { FALSE };
    BOOL m_bMail { FALSE };
    int m_nExpiryState { 0 };
};
