#pragma once

// Steps of a script through the web access setup wizard that record its
// road: the index of the page shown after each step that may change pages,
// read from the sheet's window, so the sheet may be built anywhere.

#include "platform/base/PathMap.h"
#include "platform/controls/PropertySheet.h"
#include "platform/testing/DialogScript.h"

#include <filesystem>
#include <vector>

class CSetupWizardRoad {
public:
    // The index of the sheet's current page; -1 once the sheet is done.
    static int CurrentPage(HWND hSheet)
    {
        const LRESULT hPage = SendMessage(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        if (hPage == 0)
            return -1;
        return static_cast<int>(SendMessage(hSheet, PSM_HWNDTOINDEX, static_cast<WPARAM>(hPage), 0));
    }

    CDialogScript& Record(CDialogScript& script)
    {
        return script.Then([this](HWND hSheet) { m_pages.push_back(CurrentPage(hSheet)); });
    }
    CDialogScript& Next(CDialogScript& script) { return Record(script.Press(ID_WIZNEXT)); }
    CDialogScript& Back(CDialogScript& script) { return Record(script.Press(ID_WIZBACK)); }
    CDialogScript& Finish(CDialogScript& script) { return Record(script.Press(ID_WIZFINISH)); }

    // Pages 0 to 2, leaving page 2 with the connection type's button checked.
    CDialogScript& ToConnectionType(CDialogScript& script, int nConnButton)
    {
        Next(script);
        Next(script);
        return Next(script.Check(nConnButton));
    }

    std::vector<int> m_pages;
};

// The program path of a host folder, as a user types it into the wizard.
inline CString ProgramFolderText(const std::filesystem::path& host)
{
    return ProgramPathFromHostPath(host.string()).c_str();
}
