#include "ui/PopupHitTable.h"

#include "platform/framework/CWnd.h"
#include "ui/CBtnSetaPopup.h"
#include "ui/CPopupCtrl.h"

#include <vector>

namespace {

struct HitEntry {
    CWnd* pWnd;
    int nKind;
};

std::vector<HitEntry>& Table()
{
    static std::vector<HitEntry> s_table;
    return s_table;
}

} // namespace

BOOL RegisterPopupHitWindow(CWnd* pWnd, BOOL bAdd)
{
    std::vector<HitEntry>& table = Table();
    const int nIndex = FindPopupHitWindow(pWnd);
    if (!bAdd) {
        if (nIndex < 0)
            return FALSE;
        table.erase(table.begin() + nIndex);
        return TRUE;
    }
    if (nIndex >= 0 || !pWnd)
        return FALSE;
    if (pWnd->IsKindOf(RUNTIME_CLASS(CPopupCtrl)))
        table.push_back({ pWnd, POPUP_HIT_LIST });
    else if (pWnd->IsKindOf(RUNTIME_CLASS(CBtnSetaPopup)))
        table.push_back({ pWnd, POPUP_HIT_ARROW_BUTTON });
    else
        return FALSE;
    return TRUE;
}

int FindPopupHitWindow(const CWnd* pWnd)
{
    const std::vector<HitEntry>& table = Table();
    for (int i = static_cast<int>(table.size()) - 1; i >= 0; --i)
        if (table[i].pWnd == pWnd)
            return i;
    return -1;
}

int FindKeyboardPopup()
{
    const std::vector<HitEntry>& table = Table();
    for (int i = static_cast<int>(table.size()) - 1; i >= 0; --i)
        if (table[i].nKind == POPUP_HIT_LIST)
            return i;
    return -1;
}

int GetPopupHitCount()
{
    return static_cast<int>(Table().size());
}

CWnd* GetPopupHitWindow(int nIndex)
{
    return nIndex >= 0 && nIndex < GetPopupHitCount() ? Table()[nIndex].pWnd : nullptr;
}

int GetPopupHitKind(int nIndex)
{
    return nIndex >= 0 && nIndex < GetPopupHitCount() ? Table()[nIndex].nKind : 0;
}
