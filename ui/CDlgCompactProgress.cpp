#include "ui/CDlgCompactProgress.h"

#include "platform/gdi/SysColors.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int IMAGE_WIDTH = 16;
constexpr int IMAGE_GROW = 1;
constexpr COLORREF IMAGE_MASK = RGB(0xFF, 0x00, 0xFF);

} // namespace

CDlgCompactProgress::CDlgCompactProgress()
    : CProgressDialog(IDD_COMPACT_PROGRESS, 0)
{
}

BOOL CDlgCompactProgress::OnInitDialog()
{
    CProgressDialog::OnInitDialog();
    m_secondBar.SubclassDlgItem(IDC_PROGRESS_BAR2, this);
    m_nodePath.SubclassDlgItem(IDC_PROGRESS_NODE_PATH, this);
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
    m_sourceImage.SubclassDlgItem(IDC_COMPACT_SOURCE_IMAGE, this);
    m_sourceImage.CreateImageList(IDB_COMPACT_SOURCE, IMAGE_WIDTH, IMAGE_GROW, IMAGE_MASK, crFace);
    m_targetImage.SubclassDlgItem(IDC_COMPACT_TARGET_IMAGE, this);
    m_targetImage.CreateImageList(IDB_COMPACT_TARGET, IMAGE_WIDTH, IMAGE_GROW, IMAGE_MASK, crFace);
    return TRUE;
}

BOOL CDlgCompactProgress::SetNode(const CNodeRec* pNode)
{
    m_nodePath.SetNode(pNode);
    return PumpAndReport();
}
