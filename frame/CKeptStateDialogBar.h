#pragma once

// CKeptStateDialogBar: a dialog bar whose "Show" flag and width are kept in a
// subkey of the layout's Desktop key, and whose floating width is the kept one.

#include "platform/framework/CDialogBar.h"

// FIXME: on the interface kit's brushed dialog bar once it exists.
class CKeptStateDialogBar : public CDialogBar {
    DECLARE_DYNAMIC(CKeptStateDialogBar)

public:
    // pszKeyName: the bar's subkey of the Desktop key.
    explicit CKeptStateDialogBar(LPCTSTR pszKeyName);

    // Reads "Show" (default 1) and "Width" (default 0) from the bar's subkey
    // of hParent; nothing without a parent key or when the subkey cannot be read.
    void LoadState(HKEY hParent);
    // Deletes the bar's subkey of hParent and writes it again: "Show" (whether
    // the bar is visible now) and "Width".
    void SaveState(HKEY hParent);
    BOOL IsKeptShown() const { return m_bShow; }

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;

private:
    LPCTSTR m_pszKeyName;
    BOOL m_bShow { TRUE };
    int m_nWidth { 0 };
};
