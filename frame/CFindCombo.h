#pragma once

// CFindCombo: the combo box of the preview's find bar, where the words to
// find are typed or picked. Enter keeps a typed text among the choices and
// notifies the parent (NM_RETURN with the combo's ID); Tab moves on to the
// next control of the bar's parent; Up and Down open the list; Shift+Insert
// and Ctrl+V paste.

#include "platform/framework/CComboBox.h"

class CFindCombo : public CComboBox {
    DECLARE_DYNAMIC(CFindCombo)

public:
    CFindCombo() = default;

    // Keeps strText among the choices: an entry it begins selects that
    // entry, else it is added and selected. An empty text is not kept.
    void KeepWords(const CString& strText);
    // The words to find: the selected entry's text, else what is typed.
    CString GetWords() const;

    BOOL PreTranslateMessage(MSG* pMsg) override;
};
