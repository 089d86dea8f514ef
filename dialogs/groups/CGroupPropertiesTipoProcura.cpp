#include "dialogs/groups/CGroupPropertiesTipoProcura.h"

#include "resources/ResourceIds.h"
#include "store/CNodeInfoRec.h"
#include "store/CNodeRec.h"

#include "platform/framework/CDataExchange.h"

IMPLEMENT_DYNAMIC(CGroupSearchPage, CPropertyPage)
IMPLEMENT_DYNCREATE(CGroupPropertiesTipoProcura, CGroupSearchPage)
IMPLEMENT_DYNCREATE(CGroupInstTipoProcura, CGroupSearchPage)

namespace {

// The box of each bit, bit 0 first.
constexpr int FLAG_BOXES[CGroupSearchPage::FLAG_COUNT] = {
    IDC_SEARCH_FILE_NAME,
    IDC_SEARCH_FOLDER_PATH,
    IDC_SEARCH_DESCRIPTION,
    IDC_SEARCH_WHOLE_TEXT,
    IDC_SEARCH_SUBJECT,
    IDC_SEARCH_SENDER,
    IDC_SEARCH_RECIPIENTS,
    IDC_SEARCH_BODY,
};

constexpr WORD MASK_BITS = 0x00FF;

} // namespace

CGroupSearchPage::CGroupSearchPage(UINT nIDTemplate)
    : CPropertyPage(nIDTemplate)
{
}

void CGroupSearchPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    for (int nBit = 0; nBit < FLAG_COUNT; ++nBit)
        DDX_Check(pDX, FLAG_BOXES[nBit], m_bFlags[nBit]);
}

BYTE CGroupSearchPage::GetFlags() const
{
    BYTE bMask = 0;
    for (int nBit = 0; nBit < FLAG_COUNT; ++nBit) {
        if (m_bFlags[nBit])
            bMask |= static_cast<BYTE>(1u << nBit);
    }
    return bMask;
}

void CGroupSearchPage::SetFlags(BYTE bMask)
{
    for (int nBit = 0; nBit < FLAG_COUNT; ++nBit)
        m_bFlags[nBit] = (bMask >> nBit) & 1;
}

/* The properties page. */

CGroupPropertiesTipoProcura::CGroupPropertiesTipoProcura()
    : CGroupSearchPage(IDD_GROUP_SEARCH)
{
}

void CGroupPropertiesTipoProcura::LoadFromNode(const CNodeRec* pNode)
{
    SetFlags(pNode != nullptr ? static_cast<BYTE>(pNode->GetInfoWord() & MASK_BITS) : DEFAULT_MASK);
    UpdateData(FALSE);
}

BOOL CGroupPropertiesTipoProcura::StoreToNode(CNodeRec* pNode)
{
    UpdateData(TRUE);
    CNodeInfo info {};
    if (pNode->GetInfo(&info) == nullptr)
        return FALSE;
    info.wSearchType = static_cast<WORD>((info.wSearchType & ~MASK_BITS) | GetFlags());
    return pNode->UpdateInfo(info);
}

/* The set-up wizard's page. */

CGroupInstTipoProcura::CGroupInstTipoProcura()
    : CGroupSearchPage(IDD_GROUP_INST_SEARCH)
{
}

void CGroupInstTipoProcura::SetMask(BYTE bMask)
{
    SetFlags(bMask);
    UpdateData(FALSE);
}

BYTE CGroupInstTipoProcura::GetMask()
{
    UpdateData(TRUE);
    return GetFlags();
}
