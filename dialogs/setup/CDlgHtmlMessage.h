#pragma once

// The notice shown when web access starts serving: a page written for it
// (BuildHtmlMessagePage) in an HTML view over the template's placeholder, and
// a box that turns the notice off. OK with the box checked sets "WarnConn" to
// 0 and saves the web access settings (a failed save is reported; the dialog
// closes anyway); with the box unchecked no setting changes. A page that
// cannot be written still leaves the dialog open on whatever the file holds.

#include "ui/CHtmlCtrl.h"

#include "platform/framework/CDialog.h"

class CWASettings;

class CDlgHtmlMessage : public CDialog {
public:
    explicit CDlgHtmlMessage(CWASettings& settings, CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CWASettings& m_settings;
    CHtmlCtrl m_page;
};
