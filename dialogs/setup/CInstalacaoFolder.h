#pragma once

// The set-up wizard's folder page (folder mode): the folders of the chosen
// locations that hold documents of the chosen types, in a check tree. The
// tree is filled before the page opens (PrepareTree), again only when the
// locations or the types changed or the last fill was cancelled. An empty
// tree offers only Back; Next needs a checked folder.

#include "dialogs/setup/CInstExplorerTreeCtrl.h"
#include "dialogs/setup/CInstPropPage.h"
#include "ui/CImageButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/base/CollectionMaps.h"
#include "platform/framework/CImageList.h"

#include <set>

class CInstalacaoFolder : public CInstPropPage {
public:
    CInstalacaoFolder();

    // Fills the tree when the choices changed since the last fill; FALSE
    // when the fill was stopped (the tree is filled again next time). While
    // it fills, the wizard's own messages are served too.
    BOOL PrepareTree();
    BOOL IsFilling() const { return m_bFilling; }
    // Stops a running fill without asking.
    void StopFill() { m_tree.GetProgressDialog().Stop(); }
    CInstExplorerTreeCtrl& GetTree() { return m_tree; }

    BOOL OnSetActive() override;

protected:
    // An empty tree offers only Back.
    DWORD GetWizardButtons() const override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;

private:
    CInstExplorerTreeCtrl m_tree;
    CLabelCtrl m_emptyLabel;
    CLabelCtrl m_label;
    CImageButton m_emptyPicture;
    CImageButton m_legendChecked;
    CImageButton m_legendPart;
    CImageButton m_legendLeftOut;
    CImageList m_legendImages;
    int m_nLastMode { -1 };         // the location mode of the last fill; -1 before the first
    std::set<CString> m_extensions; // the chosen extensions of the last fill
    CMapStringToPtr m_extensionMap; // the same without their dots, as the tree reads them
    CMapStringToPtr m_roots;        // the location roots of the last fill
    BOOL m_bFillFailed { FALSE };
    BOOL m_bFilling { FALSE };
};
