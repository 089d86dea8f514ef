#include "ui/RunProgressDialogs.h"

#include "catalog/CRunProgress.h"
#include "platform/framework/CWinThread.h"
#include "ui/CDlgMaintenanceProgress.h"
#include "ui/CDlgOperationProgress.h"
#include "ui/CDlgTreeProgress.h"
#include "ui/CDlgUpdateProgress.h"

#include <memory>

namespace {

// The bar a run names: the update dialog's visible bars from the top, the
// single bar of the others.
CProgressCtrl* BarOf(CDlgUpdateProgress& dialog, int nBar)
{
    return dialog.GetStepBar(nBar);
}
template<typename TDialog> CProgressCtrl* BarOf(TDialog& dialog, int nBar)
{
    return nBar == CRunProgress::BAR_A ? &dialog.GetBar() : nullptr;
}

// A run's progress over one dialog: what every kind does alike. A kind
// without a feeding operation of its own pumps instead, so the window stays
// alive whichever call the run makes.
template<typename TDialog> class CDialogRunProgress : public CRunProgress {
public:
    ~CDialogRunProgress() override
    {
        if (m_dialog.GetSafeHwnd())
            m_dialog.DestroyWindow();
    }

    BOOL Open(HWND hOwner)
    {
        CWnd* pOwner = hOwner ? CWnd::FromHandle(hOwner) : AfxGetMainWnd();
        return m_dialog.CreateAndShow(pOwner);
    }

    void SetTitle(LPCTSTR pszTitle) override { m_dialog.SetWindowText(pszTitle); }
    BOOL SetText(LPCTSTR) override { return m_dialog.PumpAndTestCancel(); }
    BOOL SetNode(const CNodeRec*) override { return m_dialog.PumpAndTestCancel(); }
    void SetCount(int) override { }
    void SetRange(int nBar, int nLow, int nHigh) override
    {
        if (CProgressCtrl* pBar = Bar(nBar))
            pBar->SetRange32(nLow, nHigh);
    }
    void SetStep(int nBar, int nStep) override
    {
        if (CProgressCtrl* pBar = Bar(nBar))
            pBar->SetStep(nStep);
    }
    void StepIt(int nBar) override
    {
        m_dialog.PumpAndTestCancel();
        if (CProgressCtrl* pBar = Bar(nBar))
            pBar->StepIt();
    }
    BOOL PumpAndTestCancel() override { return m_dialog.PumpAndTestCancel(); }
    void StartAnimation() override { m_dialog.StartAnimation(); }
    BOOL IsCancelled() const override { return m_dialog.IsCancelled(); }

    TDialog m_dialog;

private:
    CProgressCtrl* Bar(int nBar) { return BarOf(m_dialog, nBar); }
};

class CUpdateRunProgress final : public CDialogRunProgress<CDlgUpdateProgress> {
public:
    BOOL SetText(LPCTSTR pszText) override { return m_dialog.SetText(pszText); }
};

class CMaintenanceRunProgress final : public CDialogRunProgress<CDlgMaintenanceProgress> {
public:
    // The maintenance dialog shows its text without pumping; a stop is read
    // through IsCancelled.
    BOOL SetText(LPCTSTR pszText) override
    {
        m_dialog.SetText(pszText);
        return FALSE;
    }
    // Pumping is the dialog's own step.
    void StepIt(int nBar) override
    {
        if (nBar == BAR_A)
            m_dialog.StepIt();
    }
};

class COperationRunProgress final : public CDialogRunProgress<CDlgOperationProgress> {
public:
    // A stop is read through IsCancelled.
    BOOL SetText(LPCTSTR pszText) override
    {
        m_dialog.SetText(pszText);
        return FALSE;
    }
};

class CTreeRunProgress final : public CDialogRunProgress<CDlgTreeProgress> {
public:
    BOOL SetNode(const CNodeRec* pNode) override { return m_dialog.SetNode(pNode); }
    void SetCount(int nCount) override { m_dialog.SetCount(nCount); }
};

std::unique_ptr<CRunProgress> OpenOrNothing(auto pProgress, HWND hOwner)
{
    if (!pProgress->Open(hOwner))
        return nullptr;
    return pProgress;
}

std::unique_ptr<CRunProgress> MakeDialogProgress(ERunProgressKind eKind, HWND hOwner, const CRunProgressSetup& setup)
{
    switch (eKind) {
    case ERunProgressKind::Update: {
        auto pProgress = std::make_unique<CUpdateRunProgress>();
        pProgress->m_dialog.SetStepState(setup.nStepKind, setup.bStepFlag);
        return OpenOrNothing(std::move(pProgress), hOwner);
    }
    case ERunProgressKind::Maintenance:
        return OpenOrNothing(std::make_unique<CMaintenanceRunProgress>(), hOwner);
    case ERunProgressKind::Operation: {
        auto pProgress = std::make_unique<COperationRunProgress>();
        pProgress->m_dialog.SetItemTexts(setup.itemTexts);
        return OpenOrNothing(std::move(pProgress), hOwner);
    }
    case ERunProgressKind::Tree:
        return OpenOrNothing(std::make_unique<CTreeRunProgress>(), hOwner);
    }
    return nullptr;
}

} // namespace

void InstallRunProgressDialogs()
{
    SetRunProgressFactory(MakeDialogProgress);
}
