#include "dialogs/preferences/TwoBitOption.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/CDataExchange.h"

namespace {

constexpr int FIRST_BIT = 1;
constexpr int SECOND_BIT = 2;

} // namespace

void DDX_TwoBitOption(CDataExchange* pDX, int nIDFirst, int nIDSecond, int& nValue)
{
    const BOOL bKnown = nValue >= 0 && nValue <= (FIRST_BIT | SECOND_BIT);
    int nFirst = bKnown && (nValue & FIRST_BIT) ? BST_CHECKED : BST_UNCHECKED;
    int nSecond = bKnown && (nValue & SECOND_BIT) ? BST_CHECKED : BST_UNCHECKED;
    DDX_Check(pDX, nIDFirst, nFirst);
    DDX_Check(pDX, nIDSecond, nSecond);
    if (pDX->m_bSaveAndValidate)
        nValue = (nFirst == BST_CHECKED ? FIRST_BIT : 0) | (nSecond == BST_CHECKED ? SECOND_BIT : 0);
}
