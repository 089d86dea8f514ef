#pragma once

// The set-up wizard's document types page: the types the desktop can create,
// each with its extensions, and a last line for extensions of no listed type.
// Nothing is checked at first. A checked extension checks its type; a type
// takes its extensions along; a type with no extension never stays checked.
// The chosen extensions are those checked under a checked type, lower-cased
// with their dot; Next needs at least one.

#include "dialogs/setup/CInstPropPage.h"
#include "ui/CFileTypeMap.h"
#include "ui/CIconCheckListBox.h"
#include "ui/CImageButton.h"

#include "platform/framework/CCheckListBox.h"

#include <map>
#include <set>
#include <vector>

class CInstalacaoDocumentos : public CInstPropPage {
    DECLARE_MESSAGE_MAP()

public:
    CInstalacaoDocumentos();

    // The chosen extensions, lower-cased, with their leading dot.
    const std::set<CString>& GetChosenExtensions() const { return m_chosen; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;

private:
    void FillTypes();
    CStringArray* ExtensionsOf(int nType) const;
    BOOL IsOtherLine(int nType) const;
    // The shown type's extension checks into the chosen extensions.
    void StoreShown();
    void ShowType(int nType);
    // Asks for an extension for the shown type; TRUE when one was added.
    BOOL AddExtension();
    void OnTypeSelect();
    void OnTypeCheck();
    void OnExtensionCheck();
    void OnAddExtension();

    CImageButton m_icon;
    CIconCheckListBox m_types;
    CCheckListBox m_extensions;
    CFileTypeMap m_fileTypes;
    CStringArray m_otherExtensions;      // the last line's, added by the user
    std::map<CString, CString> m_owners; // lower-cased extension to its type
    std::set<CString> m_chosen;
    std::vector<int> m_typeChecks; // the type lines' states as last seen
    int m_nShownType { 0 };
};
