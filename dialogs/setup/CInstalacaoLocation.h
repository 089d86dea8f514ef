#pragma once

// The set-up wizard's locations page, shown when network drives are mapped:
// whether the catalog keeps the documents of the local drives, of network
// locations, or both, and which network locations (folders picked from My
// Computer's fixed and network drives, each listed once, lower-cased). Next
// needs a kind, and a location when network locations are chosen; it then
// takes the locations in their share form.

#include "dialogs/setup/CInstPropPage.h"
#include "ui/CFolderListCtrl.h"
#include "ui/CHotButton.h"
#include "ui/CImageButton.h"
#include "ui/CPopupFolderPicker.h"

#include "platform/base/CollectionArrays.h"
#include "platform/base/CollectionMaps.h"

class CCmdUI;

class CInstalacaoLocation : public CInstPropPage {
    DECLARE_MESSAGE_MAP()

public:
    // The location modes: the bits of CCatalog's place choice.
    static constexpr int MODE_NONE = 0;
    static constexpr int MODE_LOCAL = 1;
    static constexpr int MODE_NETWORK = 2;
    static constexpr int MODE_BOTH = 3;
    // The picker offers fixed and network drives (bits of DRIVE_FIXED and DRIVE_REMOTE).
    static constexpr DWORD PICKER_DRIVE_TYPES = 0x18;

    CInstalacaoLocation();

    // The mode the boxes give; MODE_LOCAL until the page was shown.
    int GetMode() const { return m_nMode; }
    // The locations as Next took them: share form, lower-cased, ending in "\".
    const CStringArray& GetPaths() const { return m_paths; }
    // The listed locations from which the folder tree starts (path to null).
    void GetRoots(CMapStringToPtr& roots) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;

private:
    void OnBoxClicked();
    void OnAdd();
    void OnRemove();
    void OnUpdateRemove(CCmdUI* pCmdUI);
    BOOL IsNetworkChecked() const;
    void ShowNetworkPart(BOOL bShow);

    CImageButton m_picture1;
    CFolderListCtrl m_locations;
    CStringArray m_paths;
    int m_nMode { MODE_LOCAL };
    CPopupFolderPicker m_picker { PICKER_DRIVE_TYPES };
    CHotButton m_add;
};
