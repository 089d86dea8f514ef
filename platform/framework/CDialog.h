#pragma once

// CDialog: a dialog made from a template, modal (DoModal) or modeless
// (Create), with the class library's handling of WM_INITDIALOG (OnInitDialog),
// IDOK (OnOK) and IDCANCEL (OnCancel), and data exchange.
//
// The modal loop is the class library's own: while its queue is empty it sends
// WM_ENTERIDLE to the owner once and then WM_KICKIDLE (wParam MSGF_DIALOGBOX,
// lParam the idle count, from 0) to the dialog for as long as the dialog
// answers nonzero; a message that counts (CWinThread::IsIdleMessage) restarts
// the count at 0. DS_NOIDLEMSG leaves out WM_ENTERIDLE. Messages go through
// the thread's PreTranslateMessage, where the dialog's keyboard interface
// (IsDialogMessage) takes its keys.

#include "platform/framework/CDataExchange.h"
#include "platform/framework/CWnd.h"
#include "platform/window/Dialog.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
    DECLARE_MESSAGE_MAP()

public:
    CDialog() = default;
    // A modal dialog of the template nIDTemplate in the current resource module.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    /* Modeless. */

    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);

    /* Modal. */

    // Uses a template in memory (kept by the caller) instead of a resource.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
    // Runs the dialog and returns the EndDialog result; -1 when it could not be made.
    virtual INT_PTR DoModal();
    // Ends the modal loop (or hides a modeless dialog) with nResult.
    void EndDialog(int nResult);
    // Whether the dialog runs its modal loop now.
    BOOL IsModalNow() const { return m_bContinueModal ? TRUE : FALSE; }

    /* Focus and default button. */

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;

    /* What subclasses override. */

    // Fills the controls (UpdateData(FALSE)); TRUE lets the first tab stop get the focus.
    virtual BOOL OnInitDialog();
    // Reads the controls (UpdateData(TRUE)) and ends the dialog with IDOK when they are valid.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL.
    virtual void OnCancel();
    // The dialog's keyboard interface, for messages meant for it. A dialog
    // nested in another (WS_CHILD with WS_EX_CONTROLPARENT) leaves its keys to
    // the outer dialog, whose keyboard interface walks into it.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT m_nIDHelp { 0 }; // the template's ID, whose help context is HID_BASE_RESOURCE + it

protected:
    // F1: help through the main frame (ID_HELP), which asks the active dialog's context.
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);

    // Makes the window DoModal runs, hidden, owned by hWndOwner.
    virtual BOOL CreateModal(HWND hWndOwner);
    // TRUE while the modal loop runs on; EndDialog (this one or the window's) makes it FALSE.
    virtual BOOL ContinueModal();

    LPCTSTR m_lpszTemplateName { nullptr }; // a name, or an ID through MAKEINTRESOURCE
    LPCDLGTEMPLATE m_lpDialogTemplate { nullptr };
    CWnd* m_pParentWnd { nullptr };

private:
    friend INT_PTR CALLBACK AfxDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    BOOL CreateFromTemplate(const DialogTemplate& dialog, HWND hWndParent);
    // Loads the named template from the current resource module.
    bool LoadTemplate(LPCTSTR lpszTemplateName, DialogTemplate& dialog) const;
    void RunModalLoop();

    bool m_bContinueModal { false };
    int m_nModalResult { -1 };
};

// The dialog procedure of every CDialog: WM_INITDIALOG runs OnInitDialog.
INT_PTR CALLBACK AfxDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
