#include "webaccess/dialogs/CProfilesListBox.h"

IMPLEMENT_DYNCREATE(CProfilesListBox, CCheckListBox)

// clang-format off
BEGIN_MESSAGE_MAP(CProfilesListBox, CCheckListBox)
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

int CProfilesListBox::AddProfile(std::unique_ptr<CWAProfiles> pProfile, BOOL bChecked)
{
    const int nIndex = AddString(pProfile->GetName());
    if (nIndex < 0)
        return nIndex;
    SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pProfile.release()));
    SetCheck(nIndex, bChecked ? BST_CHECKED : BST_UNCHECKED);
    return nIndex;
}

CWAProfiles* CProfilesListBox::GetProfile(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return reinterpret_cast<CWAProfiles*>(GetItemData(nIndex));
}

std::unique_ptr<CWAProfiles> CProfilesListBox::TakeProfile(int nIndex)
{
    std::unique_ptr<CWAProfiles> pProfile(GetProfile(nIndex));
    if (pProfile)
        DeleteString(static_cast<UINT>(nIndex));
    return pProfile;
}

void CProfilesListBox::OnDestroy()
{
    DeleteProfiles();
    CCheckListBox::OnDestroy();
}

void CProfilesListBox::DeleteProfiles()
{
    for (int i = GetCount() - 1; i >= 0; --i)
        delete GetProfile(i);
    ResetContent();
}
