#pragma once

// The access profiles of the profile list dialog as a check list, a row's
// check standing for the profile's enabled flag (the user checks and
// unchecks rows freely). Each row carries a profile the list owns; they are
// deleted, last to first, when the window goes.

#include "webaccess/profiles/CWAProfiles.h"

#include "platform/framework/CCheckListBox.h"

#include <memory>

class CProfilesListBox : public CCheckListBox {
    DECLARE_DYNCREATE(CProfilesListBox)
    DECLARE_MESSAGE_MAP()

public:
    // Gives the rows the automatic check box; called once the list is subclassed.
    void MakeCheckList() { SetCheckStyle(BS_AUTOCHECKBOX); }
    // Appends a row for the profile, named by it and checked when bChecked.
    int AddProfile(std::unique_ptr<CWAProfiles> pProfile, BOOL bChecked);
    // The row's profile, owned by the list; null for a bad index.
    CWAProfiles* GetProfile(int nIndex) const;
    // Removes the row and hands its profile to the caller.
    std::unique_ptr<CWAProfiles> TakeProfile(int nIndex);

protected:
    void OnDestroy();

private:
    // Deletes every row's profile, last to first, and empties the list.
    void DeleteProfiles();
};
