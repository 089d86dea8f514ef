#include "dialogs/groups/CSystemListBox.h"

#include "catalog/CKeywordTypeMap.h"

#include "platform/framework/CDC.h"
#include "platform/framework/MessageMap.h"

#include <memory>

BEGIN_MESSAGE_MAP(CSystemListBox, CListBox)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr int EXTENT_MARGIN = 10;

} // namespace

void CSystemListBox::FillFromCatalog(CCatalog* pCatalog)
{
    const CKeywordMapLowTypes map(pCatalog);
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(GetFont());
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        CString strKey;
        void* pValue = nullptr;
        map.GetNextAssoc(pos, strKey, pValue);
        auto pSystems = std::make_unique<CSystemArray>(SYSTEMS_GROW_BY);
        for (const auto& pNode : *static_cast<const CNodeRecArray*>(pValue))
            pSystems->Add(pNode->Clone());
        AddRow(dc, strKey, pSystems.release());
    }
    dc.SelectObject(pOldFont);
}

int CSystemListBox::AddKeywordRow(LPCTSTR pszKeyword, CSystemArray* pSystems)
{
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(GetFont());
    const int nRow = AddRow(dc, pszKeyword, pSystems);
    dc.SelectObject(pOldFont);
    return nRow;
}

int CSystemListBox::AddRow(CDC& dc, LPCTSTR pszKeyword, CSystemArray* pSystems)
{
    std::unique_ptr<CSystemArray> pOwned(pSystems);
    const int nRow = AddString(pszKeyword);
    if (nRow < 0)
        return nRow;
    SetItemDataPtr(nRow, pOwned.release());
    const int nWidth = dc.GetTabbedTextExtent(CString(pszKeyword), 0, nullptr).cx + EXTENT_MARGIN;
    if (nWidth > m_nWidest) {
        m_nWidest = nWidth;
        SetHorizontalExtent(m_nWidest);
    }
    return nRow;
}

CSystemArray* CSystemListBox::GetSystems(int nRow) const
{
    void* pData = GetItemDataPtr(nRow);
    return pData == reinterpret_cast<void*>(-1) ? nullptr : static_cast<CSystemArray*>(pData);
}

void CSystemListBox::SetSystems(int nRow, CSystemArray* pSystems)
{
    CSystemArray* pOld = GetSystems(nRow);
    if (pOld == pSystems)
        return;
    SetItemDataPtr(nRow, pSystems);
    delete pOld;
}

void CSystemListBox::RemoveSystemFromKeyword(LPCTSTR pszKeyword, const CNodeRec& system)
{
    const int nRow = FindStringExact(-1, pszKeyword);
    CSystemArray* pSystems = nRow >= 0 ? GetSystems(nRow) : nullptr;
    if (pSystems == nullptr)
        return;
    for (int i = 0; i < pSystems->GetSize(); ++i) {
        if (pSystems->GetAt(i)->GetRef() == system.GetRef()) {
            pSystems->RemoveAt(i);
            return;
        }
    }
}

void CSystemListBox::AddSystemToKeyword(LPCTSTR pszKeyword, const CNodeRec& system)
{
    int nRow = FindStringExact(-1, pszKeyword);
    if (nRow < 0)
        nRow = AddKeywordRow(pszKeyword, nullptr);
    if (nRow < 0)
        return;
    CSystemArray* pSystems = GetSystems(nRow);
    if (pSystems == nullptr) {
        pSystems = new CSystemArray(SYSTEMS_GROW_BY);
        SetItemDataPtr(nRow, pSystems);
    }
    pSystems->Add(system.Clone());
}

void CSystemListBox::OnDestroy()
{
    for (int nRow = GetCount() - 1; nRow >= 0; --nRow)
        SetSystems(nRow, nullptr);
    CListBox::OnDestroy();
}
