#pragma once

// The versions page of the general preference sheet: the text that marks a
// copy's version number and whether it goes before or after the file name,
// with a preview on a sample name that follows the typing. OK refuses a text
// the store would not keep (IDS_VERSION_TEXT_INVALID), with the page shown
// and the focus on the text. Its template is resource IDD_PREF_VERSIONS.

#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"

class CPrefVersaoPropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    // The page reads and writes data, which outlives it.
    explicit CPrefVersaoPropPage(CPrefVersaoPageData& data);

    // The preview the page shows for a text and position: the sample name
    // with the text before or after its base, the number 1 in place of '#'.
    static CString Preview(const CString& strSample, const CString& strText, BOOL bBefore);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnApply() override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

private:
    CPrefVersaoPageData& m_data;
};
