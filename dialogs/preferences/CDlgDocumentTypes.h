#pragma once

// The document-type choice as a dialog of its own: the choice's lists and
// notifications over a template the subclass names. The two fill steps do
// nothing here; subclasses list their types and mark the chosen ones. OK is
// the plain dialog OK; subclasses commit the shown type (CommitShownType)
// before they take the choice.

#include "dialogs/preferences/CDocumentTypeChoice.h"
#include "platform/framework/CDialog.h"

class CDlgDocumentTypes : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    CDlgDocumentTypes(UINT nIDTemplate, CWnd* pParent);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Lists the types.
    virtual void FillTypes() { }
    // Checks the types of the chosen extensions.
    virtual void MarkExtensions() { }
    void CommitShownType() { m_choice.CommitShownType(); }

    void OnTypeSelChange() { m_choice.OnTypeSelChange(); }
    void OnTypeCheckChange() { m_choice.OnTypeCheckChange(); }
    void OnExtensionCheckChange() { m_choice.OnExtensionCheckChange(); }
    void OnAddExtension() { m_choice.OnAddExtension(); }

    CMapStringToPtr m_chosen; // the chosen extensions (".ext"), keys only
    CDocumentTypeChoice m_choice { m_chosen };
};
