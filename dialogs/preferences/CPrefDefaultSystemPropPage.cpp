#include "dialogs/preferences/CPrefDefaultSystemPropPage.h"

#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/SysColors.h"
#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "ui/CPopupFolderPicker.h"
#include "ui/CSisPopupWnd.h"
#include "ui/CUiHostServices.h"

#include <memory>

// clang-format off
BEGIN_MESSAGE_MAP(CPrefDefaultSystemPropPage, CPropertyPage)
    ON_BN_CLICKED(IDC_DEFAULT_SYSTEM_CHOOSE, &CPrefDefaultSystemPropPage::OnChooseSystem)
END_MESSAGE_MAP()
// clang-format on

CPrefDefaultSystemPropPage::CPrefDefaultSystemPropPage(CPrefDefaultSystemPageData& data)
    : CPropertyPage(IDD_PREF_DEFAULT_SYSTEM)
    , m_data(data)
{
}

BOOL CPrefDefaultSystemPropPage::OnInitDialog()
{
    const BOOL bResult = CPropertyPage::OnInitDialog();
    CCatalog* pCatalog = GetHostMainCatalog();
    const std::unique_ptr<CNodeRec> pRoot(pCatalog ? CNodeRec::NewRootNodeRec(pCatalog) : nullptr);
    const std::unique_ptr<CNodeRec> pFirst(pRoot ? pRoot->GetFirstChild() : nullptr);
    m_pCatalog = pFirst ? pCatalog : nullptr;
    m_choose.EnableWindow(m_pCatalog != nullptr);
    m_path.SetBkColorIndex(COLOR_WINDOW);
    m_path.SetNode(m_data.pSystem.get());
    return bResult;
}

void CPrefDefaultSystemPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DEFAULT_SYSTEM_PATH, m_path);
    DDX_Control(pDX, IDC_DEFAULT_SYSTEM_CHOOSE, m_choose);
    DDX_Check(pDX, IDC_MONITOR_AUTOSTART, m_data.bDSAutoIniciar);
}

void CPrefDefaultSystemPropPage::OnChooseSystem()
{
    if (m_bChoosing || !m_pCatalog)
        return;
    m_bChoosing = true;
    std::unique_ptr<CNodeRec> pPicked;
    CSisPopupWnd popup;
    if (popup.Create(this) == 1) {
        const std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog));
        popup.GetSisList().FillItems(pRoot.get(), FALSE, FALSE, FALSE);
        pPicked.reset(static_cast<CNodeRec*>(TrackPopupUnderButton(popup, m_choose)));
    }
    m_bChoosing = false;
    if (!pPicked || !::IsWindow(m_hWnd))
        return;
    m_data.pSystem = std::move(pPicked);
    m_path.SetNode(m_data.pSystem.get());
    m_path.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
