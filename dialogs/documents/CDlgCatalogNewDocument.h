#pragma once

// The cataloguing dialog of the new-document monitor: it lists the waiting
// notices and shows the form's proposal for the front one (its path, the
// systems and groups it goes under, its name, description and favourite
// flag). Catalogue enters it with the values edited (the monitor answers
// CNewDocMonitor::RESULT_CATALOG), Skip drops it (RESULT_REMOVE); either way
// the next notice shows, and the dialog ends with IDOK when none is left.
// Close ends it with IDCANCEL, the notice kept. Its template is resource
// IDD_CATALOG_NEW_DOCUMENT.

#include "monitor/CCatalogDialog.h"

#include "platform/framework/CDialog.h"
#include "platform/framework/CListBox.h"

class CDlgCatalogNewDocument
    : public CDialog
    , public CCatalogDialog {
    DECLARE_MESSAGE_MAP()

public:
    // Both stay the caller's while the dialog runs.
    CDlgCatalogNewDocument(CNewDocMonitor& monitor, CNewDocForm& form, CWnd* pParent = nullptr);

    int Run() override { return static_cast<int>(DoModal()); }
    void SetLastIndex(int nLast) override;
    void ReloadMaps() override { ShowNodes(); }
    void DropMissingItems() override { ShowNodes(); }
    void End(int nResult) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Catalogue.
    void OnOK() override;
    void OnSkip();
    void OnDestroy();

private:
    // The monitor's answer for the shown notice; then the next one, or the end.
    void Answer(int nCode);
    // The form's notice and proposal into the controls.
    void ShowNotice();
    void ShowNodes();
    void FillNotices(int nLast);

    CNewDocMonitor& m_monitor;
    CNewDocForm& m_form;
    CListBox m_notices;
    CListBox m_nodes;
    CString m_strName;
    CString m_strDescription;
    BOOL m_bFavourite { FALSE };
    HICON m_hIcon { nullptr }; // the shown notice's, owned
};

// The factory the dialogs' prompts install for the monitor (SetCatalogDialogFactory).
std::unique_ptr<CCatalogDialog> MakeCatalogNewDocumentDialog(CNewDocMonitor& monitor, CNewDocForm& form);
