#pragma once

// The document-types page of the documents sheet: every document type the
// file-type map knows, sorted, then the "other" type for extensions no type
// claims (with its add button). The page's data holds the chosen extensions,
// which the sheet's opener copied in from the catalog; the types holding them
// come up checked. OK commits the shown type (see CDocumentTypeChoice). Its
// template is resource IDD_DOCUMENT_TYPES.

#include "dialogs/preferences/CDocumentTypeChoice.h"
#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"

class CDocumentTypesPropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    // The page reads and writes data, which outlives it.
    explicit CDocumentTypesPropPage(CDocumentTypesPageData& data);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnTypeSelChange() { m_choice.OnTypeSelChange(); }
    void OnTypeCheckChange() { m_choice.OnTypeCheckChange(); }
    void OnExtensionCheckChange() { m_choice.OnExtensionCheckChange(); }
    void OnAddExtension() { m_choice.OnAddExtension(); }

private:
    CDocumentTypeChoice m_choice;
};
