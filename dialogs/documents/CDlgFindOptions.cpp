#include "dialogs/documents/CDlgFindOptions.h"

#include "catalog/CTextSearch.h"
#include "frame/FindSettings.h"
#include "resources/ResourceIds.h"
#include "store/CatalogColumns.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"

#include <iterator>

namespace {

// The texts of the searched fields, in the order of CTextSearch's fields.
constexpr UINT FIELD_TEXTS[] = { COLUMN_DESCRIPTION, COLUMN_NAME, COLUMN_LABEL, COLUMN_ALT_NAME, IDS_FIND_FIELD_CONTENT,
    IDS_FIND_FIELD_ALL_TEXTS };
static_assert(std::size(FIELD_TEXTS) == CTextSearch::FIELD_ALL_TEXTS + 1);

// The type, scope and flag buttons with what they stand for.
constexpr int TYPE_BUTTONS[] = { IDC_FIND_ALL_WORDS, IDC_FIND_ANY_WORD, IDC_FIND_PHRASE };
constexpr int SCOPE_BUTTONS[] = { IDC_FIND_SCOPE_CATALOG, IDC_FIND_SCOPE_SYSTEM, IDC_FIND_SCOPE_LIST };

struct CFlagButton {
    int nId;
    BOOL CFindRecord::*pFlag;
};
// clang-format off
constexpr CFlagButton FLAG_BUTTONS[] = {
    { IDC_FIND_MATCH_CASE,    &CFindRecord::bMatchCase },
    { IDC_FIND_WHOLE_WORD,    &CFindRecord::bWholeWord },
    { IDC_FIND_RECYCLE,       &CFindRecord::bRecycle },
    { IDC_FIND_RESULT_LIST,   &CFindRecord::bResultList },
    { IDC_FIND_OPEN_FIND_BAR, &CFindRecord::bOpenFindBar },
};
// clang-format on

// The index of the checked button, -1 for none.
template<size_t N> int CheckedIndex(const CWnd& dialog, const int (&buttons)[N])
{
    for (size_t i = 0; i < N; ++i) {
        if (dialog.IsDlgButtonChecked(buttons[i]) == BST_CHECKED)
            return static_cast<int>(i);
    }
    return -1;
}

template<size_t N> void CheckIndex(CWnd& dialog, const int (&buttons)[N], int nIndex)
{
    for (size_t i = 0; i < N; ++i)
        dialog.CheckDlgButton(buttons[i], static_cast<int>(i) == nIndex ? BST_CHECKED : BST_UNCHECKED);
}

} // namespace

CDlgFindOptions::CDlgFindOptions(CFindSettings& settings, CWnd* pParent)
    : CDialog(IDD_FIND_OPTIONS, pParent)
    , m_settings(settings)
{
}

BOOL CDlgFindOptions::OnInitDialog()
{
    CDialog::OnInitDialog();
    const CFindRecord& find = m_settings.GetFind();
    CheckIndex(*this, TYPE_BUTTONS, find.nType);
    CheckIndex(*this, SCOPE_BUTTONS, find.nScope);
    CString strText;
    for (UINT nId : FIELD_TEXTS) {
        strText.LoadString(nId);
        SendDlgItemMessage(IDC_FIND_FIELD, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText)));
    }
    const bool bShownField = find.nField >= 0 && find.nField <= CTextSearch::FIELD_ALL_TEXTS;
    SendDlgItemMessage(IDC_FIND_FIELD, CB_SETCURSEL, static_cast<WPARAM>(bShownField ? find.nField : -1));
    for (const CFlagButton& button : FLAG_BUTTONS)
        CheckDlgButton(button.nId, find.*button.pFlag ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CDlgFindOptions::OnOK()
{
    const CFindRecord& find = m_settings.GetFind();
    CFindRecord options;
    const int nType = CheckedIndex(*this, TYPE_BUTTONS);
    options.nType = nType >= 0 ? nType : find.nType;
    const int nScope = CheckedIndex(*this, SCOPE_BUTTONS);
    options.nScope = nScope >= 0 ? nScope : find.nScope;
    const auto nField = static_cast<int>(SendDlgItemMessage(IDC_FIND_FIELD, CB_GETCURSEL));
    options.nField = nField >= 0 ? nField : find.nField;
    for (const CFlagButton& button : FLAG_BUTTONS)
        options.*button.pFlag = IsDlgButtonChecked(button.nId) == BST_CHECKED ? TRUE : FALSE;
    options.bAllDocs = find.bAllDocs;
    options.bInterrupt = find.bInterrupt;
    options.bDate = find.bDate;
    m_settings.SetFindOptions(options);
    EndDialog(IDOK);
}
