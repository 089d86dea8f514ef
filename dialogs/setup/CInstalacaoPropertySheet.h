#pragma once

// The set-up wizard: the choices for the first organisation of the catalog.
// It writes nothing itself; Finish leaves the choices in the CSetupResults
// given at construction, of which only the chosen mode's part is filled.
//
// The organisation-mode road is mode page, computer usage, organisation,
// keywords, last page; the folder-mode road is mode page, folders, last page.
// The pages before the mode page are the welcome, the document types and,
// when there is something to choose, the locations (network drives are
// mapped) and the mail folders (a mail client's users were found).

#include "dialogs/setup/CInstalacaoComputerUsage.h"
#include "dialogs/setup/CInstalacaoDocumentos.h"
#include "dialogs/setup/CInstalacaoFolder.h"
#include "dialogs/setup/CInstalacaoKeywords.h"
#include "dialogs/setup/CInstalacaoLocation.h"
#include "dialogs/setup/CInstalacaoMailDocs.h"
#include "dialogs/setup/CInstalacaoOrgInicial.h"
#include "dialogs/setup/SetupSimplePages.h"
#include "dialogs/setup/UsageFile.h"

#include "platform/framework/CPropertySheet.h"

struct CSetupResults;

class CInstalacaoPropertySheet : public CPropertySheet {
    DECLARE_DYNAMIC(CInstalacaoPropertySheet)
    DECLARE_MESSAGE_MAP()

public:
    explicit CInstalacaoPropertySheet(CSetupResults& results, CWnd* pParentWnd = nullptr);

    /* What the pages read of one another. */

    CInstalacaoTipoOrganizacao& GetModePage() { return m_mode; }
    CInstalacaoComputerUsage& GetUsagePage() { return m_usage; }
    CInstalacaoOrgInicial& GetOrganisationPage() { return m_organisation; }
    CInstalacaoDocumentos& GetDocumentsPage() { return m_documents; }
    CInstalacaoFolder& GetFolderPage() { return m_folders; }
    CInstalacaoLocation& GetLocationPage() { return m_location; }
    CInstalacaoMailDocs& GetMailPage() { return m_mail; }
    BOOL HasLocationPage() const { return m_bLocationPage; }
    BOOL HasMailPage() const { return m_bMailPage; }
    // The usage file as the wizard read it when it opened.
    const CUsageProfiles& GetUsageProfiles() const { return m_usageProfiles; }
    // The location mode: 1 local drives, 2 network locations, 3 both; 1 without a locations page.
    int GetLocationMode() const;
    // The network locations' roots for the folder tree (lower-cased path to null); none without a locations page.
    void GetLocationRoots(CMapStringToPtr& roots) const;

    // Fills the folder page's tree for the mode page's Next; FALSE when the
    // fill was stopped. Cancel pressed during the fill ends the wizard after it.
    BOOL PrepareFolderTree();
    // Finish: the chosen mode's results into the CSetupResults.
    void CollectResults();

protected:
    // Reads the usage file, then makes the folder page's window before the welcome shows.
    BOOL OnInitDialog() override;
    // While the folder tree fills, Back and Cancel stop the fill and the
    // other buttons do nothing; TRUE for a command taken so.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

    CSetupResults& m_results;
    CInstalacaoWelcome m_welcome;
    CInstalacaoDocumentos m_documents;
    CInstalacaoLocation m_location;
    CInstalacaoMailDocs m_mail;
    CInstalacaoTipoOrganizacao m_mode;
    CInstalacaoComputerUsage m_usage;
    CInstalacaoOrgInicial m_organisation;
    CInstalacaoKeywords m_keywords;
    CInstalacaoFolder m_folders;
    CInstalacaoTelaFinal m_final;
    CUsageProfiles m_usageProfiles;
    BOOL m_bLocationPage { FALSE };
    BOOL m_bMailPage { FALSE };
    BOOL m_bCancelAfterFill { FALSE };
};
