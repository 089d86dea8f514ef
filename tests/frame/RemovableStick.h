#pragma once

// A temporary folder that the drive table shows as a removable drive while
// the object lives, and the send-to command that targets it.

#include "tests/support/TempFolder.h"
#include "ui/CSendToMenu.h"

#include "platform/base/DriveTable.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>

class CRemovableStick {
public:
    explicit CRemovableStick(TCHAR chLetter)
        : m_chLetter(chLetter)
    {
        EXPECT_TRUE(SetDriveOverride(m_chLetter, m_folder.Path().string().c_str(), DRIVE_REMOVABLE));
    }
    ~CRemovableStick() { (void)SetDriveOverride(m_chLetter, nullptr, 0); } // removing a letter cannot fail
    CRemovableStick(const CRemovableStick&) = delete;
    CRemovableStick& operator=(const CRemovableStick&) = delete;

    const std::filesystem::path& Path() const { return m_folder.Path(); }

    // The command the send-to menu gives this drive among the machine's own; 0 when it has none.
    UINT SendToCommand() const
    {
        CSendToMenu drives;
        drives.Build();
        const CString strRoot = CString(m_chLetter) + ":\\";
        for (UINT nID = ID_SEND_TO_DRIVE_FIRST; nID <= ID_SEND_TO_DRIVE_LAST; ++nID) {
            if (drives.GetTargetPath(nID).CompareNoCase(strRoot) == 0)
                return nID;
        }
        return 0;
    }

private:
    TempFolder m_folder;
    TCHAR m_chLetter;
};
