#pragma once

// The web access setup wizard's first pages: the introduction, the notice,
// the kind of connection, and the folder shared with the directory server on
// a LAN (see CWASetupWizardPropSheet for the road through the pages).

#include "webaccess/directory/CWALinkStatic.h"
#include "webaccess/directory/CWASetupPropPage.h"

#include "ui/CHotButton.h"
#include "ui/CHtmlCtrl.h"
#include "ui/CImageButton.h"
#include "ui/CPIDLPopupCtrl.h"
#include "ui/CPopupFolderPicker.h"
#include "ui/CWAColorEdit.h"

// Page 0: the introduction page "WATELA1.HTM" of the resource module in an
// HTML view over the picture's place; nothing shows there when the view
// cannot be made.
class CWASetupIntroPropPage : public CWASetupPropPage {
public:
    explicit CWASetupIntroPropPage(CWASetupWizardPropSheet& sheet);

protected:
    BOOL OnInitDialog() override;

private:
    CHtmlCtrl m_page;
};

// Page 1: the notice text file of the program folder (at most 64 KiB of it;
// without the file, a short text saying so), read-only on white. While the
// page shows, Next reads as the agreement caption; leaving the page, by Back,
// Next or otherwise, puts the sheet's caption back.
class CWASetupNoticePropPage : public CWASetupPropPage {
public:
    static constexpr UINT MAX_NOTICE_BYTES = 64 * 1024;

    explicit CWASetupNoticePropPage(CWASetupWizardPropSheet& sheet);

    // The notice as the page shows it: the file's text with "\r\n" line ends,
    // or string 5068 when the file cannot be opened.
    static CString ReadNotice();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

private:
    CWAColorEdit m_text;
    CString m_strNextCaption;
};

// Page 2: modem, cable or LAN, with their pictures.
class CWASetupConnTypePropPage : public CWASetupPropPage {
public:
    explicit CWASetupConnTypePropPage(CWASetupWizardPropSheet& sheet);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;

private:
    CImageButton m_modemPicture;
    CImageButton m_cablePicture;
    CImageButton m_lanPicture;
};

// Page 3: the LAN folder shared with the directory server; Next needs an
// existing folder that can be written. The link opens the directory server's site.
class CWASetupCommFolderPropPage : public CWASetupPropPage {
    DECLARE_MESSAGE_MAP()

public:
    explicit CWASetupCommFolderPropPage(CWASetupWizardPropSheet& sheet);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;
    void OnBrowse();

private:
    CHotButton m_browse;
    CImageButton m_picture;
    CWALinkStatic m_link;
    // The fixed and network drives only.
    CPopupFolderPicker m_picker { CPIDLPopupCtrl::MASK_FIXED_NETWORK };
};
