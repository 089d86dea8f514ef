#pragma once

// The set-up wizard's document types page: the types the desktop can create,
// each with its extensions, and a last line for extensions of no listed type,
// chosen as in the preferences (CDocumentTypeChoice). Nothing is checked at
// first. The chosen extensions are those checked under a checked type,
// lower-cased with their dot; Next needs at least one.

#include "dialogs/preferences/CDocumentTypeChoice.h"
#include "dialogs/setup/CInstPropPage.h"
#include "ui/CImageButton.h"

#include "platform/base/CollectionMaps.h"

#include <set>

class CInstalacaoDocumentos : public CInstPropPage {
    DECLARE_MESSAGE_MAP()

public:
    CInstalacaoDocumentos();

    // The chosen extensions, lower-cased, with their leading dot; the shown
    // type's boxes count once the page was left.
    std::set<CString> GetChosenExtensions() const;
    // The names of the document types the page offered (the "other" line aside).
    void GetOfferedTypes(CStringArray& names);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;

private:
    void OnTypeSelChange() { m_choice.OnTypeSelChange(); }
    void OnTypeCheckChange() { m_choice.OnTypeCheckChange(); }
    void OnExtensionCheckChange() { m_choice.OnExtensionCheckChange(); }
    void OnAddExtension() { m_choice.OnAddExtension(); }

    CImageButton m_icon;
    CMapStringToPtr m_chosen;
    CDocumentTypeChoice m_choice { m_chosen };
};
