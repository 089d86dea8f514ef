#pragma once

// Asks for a new document type's extension. The text is refused while it is
// empty (message IDS_EXTENSION_EMPTY) or holds a further "." after its first
// character, a double extension (IDS_EXTENSION_DOUBLE). Browse picks a file
// whose extension fills the text. Its template is resource IDD_NEW_EXTENSION.

#include "platform/framework/CDialog.h"

class CDlgNewExtension : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int MAX_EXTENSION = 256;

    explicit CDlgNewExtension(CWnd* pParent = nullptr);

    // After IDOK: the text trimmed, with one leading "." (".doc" for "doc").
    CString GetExtension() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    // Browse: a file chosen in the shell's browser gives its extension; a
    // folder or a name without one changes nothing.
    void OnBrowse();

private:
    CString m_strExtension;
};
