#pragma once

// Prompts that answer the frame's questions from a script and record what
// was asked, for the application's tests. Every window counts as present.

#include "frame/FramePrompts.h"
#include "frame/SetupResults.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "store/DocumentBackup.h"

#include <functional>
#include <string>
#include <vector>

class CScriptedFramePrompts
    : public CDefaultFramePrompts
    , public CBackupFolderPrompt {
public:
    BOOL HasWindow(EWindow) const override { return TRUE; }
    int RunSetupWizard(CSetupResults& results) override
    {
        m_asked.emplace_back("wizard");
        if (m_fnWizard)
            return m_fnWizard(results);
        return CDefaultFramePrompts::RunSetupWizard(results);
    }
    int ConfirmSetup() override { return Ask("confirm setup", m_nConfirmSetup); }
    int FindFilesHost() override { return Ask("find files host", m_nFindFilesHostAnswer); }
    int FindOptions() override { return Ask("find options", IDCANCEL); }
    int SearchCriteria(CListFilter& filter, BOOL bReadOnly) override
    {
        return Ask(bReadOnly ? "search criteria read-only" : "search criteria",
            m_fnCriteria ? m_fnCriteria(filter) : IDCANCEL);
    }
    int OrphanWarning(BOOL* pbDontWarn) override
    {
        *pbDontWarn = m_bDontWarn;
        return Ask("orphan warning", m_nOrphanAnswer);
    }
    int DailyNotice(int nCount, LPCTSTR pszDate) override
    {
        m_nNoticeCount = nCount;
        m_strNoticeDate = pszDate;
        return Ask("daily notice", m_nNoticeAnswer);
    }
    int OfferRecovery() override { return Ask("offer recovery", m_nRecoveryAnswer); }
    int ChooseBackup(const CCatalogFiles&, BOOL, int* pnGeneration) override
    {
        *pnGeneration = m_nBackupGeneration;
        return Ask("backup list", m_nBackupAnswer);
    }
    // The option dialogs answer with their boxes as the preferences preset them.
    int UpdateOptions(CUpdateChoices& choices) override
    {
        const int nOption = thePreferences.m_nUpdateOption;
        choices.bFirst = nOption == 1 || nOption == 3;
        choices.bSecond = nOption == 2 || nOption == 3;
        m_lastUpdateChoices = choices;
        return Ask("update options", m_nUpdateAnswer);
    }
    int MaintenanceOptions(CMaintenanceChoices& choices) override
    {
        choices = { thePreferences.m_bCleanUpTempFolders, thePreferences.m_bCleanUpTempFiles,
            thePreferences.m_bCleanUpExpired, thePreferences.m_bCleanUpRecycle };
        return Ask("maintenance options", m_nMaintenanceAnswer);
    }
    int RunPreferenceSheet(ESheet eSheet, void* pSheetData) override
    {
        m_eLastSheet = eSheet;
        if (m_fnSheet)
            m_fnSheet(eSheet, pSheetData);
        return Ask("preference sheet", m_nSheetAnswer);
    }
    int KeywordSystemSheet() override { return Ask("keyword sheet", m_nSheetAnswer); }
    void ShowMessage(UINT nStringID, UINT) override { m_messages.push_back(nStringID); }
    int NewGroup(CNodeRec&) override { return Ask("new group", IDCANCEL); }
    int GroupProperties(CNodeRec&) override { return Ask("group properties", IDCANCEL); }
    int DocumentProperties(CDocumentRec&, BOOL, std::unique_ptr<CDocumentRec>*) override
    {
        return Ask("document properties", PROPERTIES_UNCHANGED);
    }
    int OpenWith(CDocumentRec&, CString* pstrProgram) override
    {
        *pstrProgram = m_strOpenWithProgram;
        return Ask("open with", m_nOpenWithAnswer);
    }
    int NewPassword(CDocumentRec&, CString* pstrPassword) override
    {
        *pstrPassword = m_strNewPassword;
        return Ask("new password", m_nNewPasswordAnswer);
    }
    int SetOption(CDocumentRec&, DWORD* pdwAction) override
    {
        *pdwAction = m_dwOption;
        return Ask("set option", m_nOptionAnswer);
    }
    int SetNumber(CDocumentRec&, int* pnNumber) override
    {
        *pnNumber = m_nNumber;
        return Ask("set number", m_nNumberAnswer);
    }
    int DescribeFromContent(CDocumentRec& document) override
    {
        m_asked.emplace_back("describe from content");
        return m_fnDescribe ? m_fnDescribe(document) : CDefaultFramePrompts::DescribeFromContent(document);
    }
    // The confirmation of a document opened unprotected; remembers its path.
    int ImagePreview(CDocumentRec& document) override
    {
        m_asked.emplace_back("image preview");
        m_strPreviewed = document.GetFilePath();
        return m_fnImagePreview ? m_fnImagePreview(document) : IDCANCEL;
    }
    int ChooseFolder(UINT nIDCaption, CDocumentRec&, CString* pstrFolder) override
    {
        m_nChooseFolderCaption = nIDCaption;
        *pstrFolder = "C:\\";
        return Ask("choose folder", m_nChooseFolderAnswer);
    }

    CBackupFolderPrompt* GetBackupFolderPrompt() override { return this; }
    // The backup folder: answered with m_strBackupFolder, cancelled when it is empty.
    BOOL AskBackupFolder(CNodeRec*, CString& strFolder) override
    {
        m_strBackupOffered = strFolder;
        strFolder = m_strBackupFolder;
        return Ask("backup folder", m_strBackupFolder.IsEmpty() ? IDCANCEL : IDOK) == IDOK;
    }

    // How many times the window was asked for.
    int CountOf(const std::string& strWindow) const
    {
        int nCount = 0;
        for (const auto& strAsked : m_asked)
            nCount += strAsked == strWindow;
        return nCount;
    }

    std::function<int(CSetupResults&)> m_fnWizard; // none: the defaults' empty catalog
    int m_nConfirmSetup { IDOK };
    int m_nFindFilesHostAnswer { IDCANCEL };
    std::function<int(CListFilter&)> m_fnCriteria; // edits the filter given, then answers
    int m_nOrphanAnswer { IDNO };
    BOOL m_bDontWarn { FALSE };
    int m_nRecoveryAnswer { IDCANCEL };
    int m_nBackupAnswer { IDCANCEL };
    int m_nBackupGeneration { 1 };
    int m_nSheetAnswer { IDCANCEL };
    std::function<void(ESheet, void*)>
        m_fnSheet; // changes a sheet's data, whose type its kind gives, before its answer
    ESheet m_eLastSheet { ESheet::General };
    std::function<int(CDocumentRec&)> m_fnDescribe;     // none: nothing written
    std::function<int(CDocumentRec&)> m_fnImagePreview; // none: cancelled
    int m_nUpdateAnswer { IDCANCEL };
    CUpdateChoices m_lastUpdateChoices {}; // as the update dialog last showed its boxes
    int m_nMaintenanceAnswer { IDCANCEL };
    int m_nNoticeCount { -1 };
    int m_nNoticeAnswer { IDCANCEL };
    CString m_strOpenWithProgram;
    int m_nOpenWithAnswer { IDCANCEL };
    int m_nChooseFolderAnswer { IDCANCEL };
    CString m_strNewPassword;
    int m_nNewPasswordAnswer { IDCANCEL };
    UINT m_nChooseFolderCaption { 0 };
    DWORD m_dwOption { 0 };
    int m_nOptionAnswer { IDCANCEL };
    int m_nNumber { 0 };
    int m_nNumberAnswer { IDCANCEL };
    CString m_strNoticeDate;
    CString m_strBackupFolder;
    CString m_strBackupOffered;
    CString m_strPreviewed;
    std::vector<std::string> m_asked;
    std::vector<UINT> m_messages;

private:
    int Ask(const char* pszWindow, int nAnswer)
    {
        m_asked.emplace_back(pszWindow);
        return nAnswer;
    }
};
