#pragma once

// CKeptStateDialogBar: one of the program's brushed dialog bars whose "Show"
// flag and width are kept in a subkey of the layout's Desktop key, and whose
// floating width is the kept one.

#include "ui/CBrushDialogBar.h"

class CKeptStateDialogBar : public CBrushDialogBar {
public:
    // Whether the bar shows before any layout was kept.
    enum class FirstShow { Shown, Hidden };

    // pszKeyName: the bar's subkey of the Desktop key.
    explicit CKeptStateDialogBar(LPCTSTR pszKeyName, FirstShow eFirstShow = FirstShow::Shown);

    // Reads "Show" (default 1) and "Width" (default 0) from the bar's subkey
    // of hParent; nothing without a parent key or when the subkey cannot be
    // read, so the bar keeps its first state.
    void LoadState(HKEY hParent);
    // Deletes the bar's subkey of hParent and writes it again: "Show" (whether
    // the bar is visible now) and "Width".
    void SaveState(HKEY hParent);
    BOOL IsKeptShown() const { return m_bShow; }

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;

private:
    LPCTSTR m_pszKeyName;
    BOOL m_bShow;
    int m_nWidth { 0 };
};
