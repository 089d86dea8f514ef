#pragma once

// What the program's modeless progress dialogs share. A long operation in the
// user-interface thread creates one, feeds it texts and bar steps, and between
// units of work calls a feeding operation: that pumps the dialog's messages, so
// it stays painted and its Cancel button works, and reports a stop request.
//
// The dialog is centred over the main window when it opens. A bar
// (IDC_PROGRESS_BAR, where the template has one) is GetBar. A status text
// control (where the template has one) shows paths shortened to its width.
// An animation control (IDC_PROGRESS_ANIMATION, where present) plays the
// filing clip endlessly; a stop request stops it and the next feeding call
// that finds no request plays it again.
//
// Cancel records a stop request only (the owner ends the dialog); each request
// is reported once, by the first feeding call after it. Subclasses whose stop
// must be confirmed override OnCancel with ConfirmStop.

#include "platform/framework/CAnimateCtrl.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CProgressCtrl.h"

class CProgressDialog : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    // nStatusId: the status text control, 0 when the dialog has none.
    CProgressDialog(UINT nIDTemplate, int nStatusId);

    // Creates the modeless dialog owned by pOwner (no owner when null) and shows it.
    BOOL CreateAndShow(CWnd* pOwner);

    // The dialog's bar (IDC_PROGRESS_BAR).
    CProgressCtrl& GetBar() { return m_bar; }

    // Pumps; TRUE and clears the request when a stop was asked, else FALSE.
    BOOL PumpAndTestCancel();
    // Plays the clip when it is not playing.
    void StartAnimation();
    // The clip is playing (it was started and not stopped since).
    BOOL IsAnimationPlaying() const { return m_bPlaying; }
    // A stop was asked and not yet reported.
    BOOL IsStopPending() const { return m_bStop; }
    // A stop was confirmed (dialogs that confirm their stop).
    BOOL IsCancelled() const { return m_bCancelled; }

protected:
    BOOL OnInitDialog() override;
    // Records the stop request and stops the clip.
    void OnCancel() override;
    void OnDestroy();

    // Shows pszText, shortened as a path to the status control's width.
    void ShowStatus(LPCTSTR pszText);
    // Pumps the dialog's pending messages.
    void Pump();
    // TRUE and clears the request when a stop was asked; else FALSE.
    BOOL TakeStopRequest();
    // Pumps, then TakeStopRequest; without a request, plays a stopped clip again.
    BOOL PumpAndReport();
    // ShowStatus, then PumpAndReport: the SetText of the dialogs that report a stop.
    BOOL ShowStatusAndReport(LPCTSTR pszText);
    void StopAnimation();
    // Asks the stop question: Yes sets the cancelled flag and ends the dialog,
    // No changes nothing.
    void ConfirmStop();

private:
    int m_nStatusId;
    CProgressCtrl m_bar;
    CAnimateCtrl m_animation;
    BOOL m_bHasAnimation { FALSE };
    BOOL m_bPlaying { FALSE };
    BOOL m_bStop { FALSE };
    BOOL m_bCancelled { FALSE };
};
