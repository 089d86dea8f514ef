#pragma once

// The menu of places a document can be sent to: the desktop, the documents
// folder and the catalogue again, then every removable drive of My Computer
// (with its shell icon, commands ID_SEND_TO_DRIVE_FIRST upwards), and last a
// mail recipient. GetTargetPath names the drive a drive command stands for.

#include "platform/framework/CImageList.h"
#include "platform/shell/ShellFolder.h"
#include "ui/CImageMenu.h"

#include <map>

class CSendToMenu : public CImageMenu {
public:
    CSendToMenu();

    // Empties the menu and fills it again, looking at the drives as they are now.
    void Build();
    // The root path ("E:\") of a drive command; empty for other commands.
    CString GetTargetPath(UINT nID) const;

private:
    // Appends one removable drive, named by its item in My Computer.
    void AppendDrive(IShellFolder* pDrives, LPCITEMIDLIST pidlDrive);

    CImageList m_images;               // the fixed items' pictures, then the drives' icons
    std::map<UINT, CString> m_targets; // drive command -> root path
};
