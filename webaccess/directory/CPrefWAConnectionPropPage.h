#pragma once

// The connection page of the web access preference sheet: how this computer
// reaches the Internet (modem, cable or a local network) and, on a local
// network, the folder it shares with the directory server. The folder's
// caption, edit and picker work only for the local network. OK refuses a
// folder that is missing or cannot be reached (IDS_WEB_FOLDER_MISSING) or
// cannot be written (IDS_WEB_FOLDER_READ_ONLY), with the page shown and the
// focus on the edit;
// modem and cable hand back the program folder as the folder. Its template
// is resource IDD_PREF_WA_CONNECTION.

#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"
#include "ui/CHotButton.h"
#include "ui/CPopupFolderPicker.h"

class CPrefWAConnectionPropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    /* The stored connection kinds ("ConnType"). */
    static constexpr int CONN_MODEM = 1;
    static constexpr int CONN_LAN = 2;
    static constexpr int CONN_CABLE = 3;
    // The folder edit's limit, in characters.
    static constexpr int MAX_FOLDER_LENGTH = 260;

    // The page reads and writes data, which outlives it. Shown with a modem
    // or cable kind, it empties the data's folder: only a LAN shares one.
    explicit CPrefWAConnectionPropPage(CPrefWAConnectionPageData& data);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnApply() override;
    void OnKindChosen();
    // The folder picker: the chosen folder, as the shell spells it, becomes the edit's text.
    void OnPickFolder();

private:
    // The folder's caption, edit and picker follow the LAN button.
    void EnableFolder();
    int CheckedKind() const;

    CPrefWAConnectionPageData& m_data;
    CHotButton m_pickButton;
    CPopupFolderPicker m_picker;
};
