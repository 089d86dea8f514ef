#pragma once

// CRichEditCtrl: the class library's object around a "RICHEDIT" control,
// and AfxInitRichEdit, which makes that class known. Positions count
// characters; texts are UTF-8 with "\r\n" line breaks.

#include "platform/base/CString.h"
#include "platform/controls/RichEditControl.h"
#include "platform/framework/CWnd.h"

// Registers the "RICHEDIT" class; TRUE once it exists. Programs call it once
// before they create a rich edit control or a dialog whose template names one.
BOOL AfxInitRichEdit();

class CRichEditCtrl : public CWnd {
    DECLARE_DYNAMIC(CRichEditCtrl)

public:
    CRichEditCtrl() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    /* Selection. nEndChar -1 reaches the end; nStartChar -1 removes the selection. */

    void SetSel(long nStartChar, long nEndChar);
    void SetSel(CHARRANGE& cr);
    void GetSel(long& nStartChar, long& nEndChar) const;
    void GetSel(CHARRANGE& cr) const;
    void HideSelection(BOOL bHide, BOOL bPerm);
    // The selected text, whole.
    CString GetSelText() const;
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void Copy();

    /* Formats. Each setter returns FALSE for a bad structure. */

    BOOL SetDefaultCharFormat(CHARFORMAT& cf);
    BOOL SetSelectionCharFormat(CHARFORMAT& cf);
    // The fields that are the same over the whole selection.
    DWORD GetSelectionCharFormat(CHARFORMAT& cf) const;
    DWORD GetDefaultCharFormat(CHARFORMAT& cf) const;

    /* Text. */

    // The start of the match and pFindText->chrgText, or -1.
    long FindText(DWORD dwFlags, FINDTEXTEX* pFindText) const;
    long GetTextLength() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void LimitText(long nChars = 0);

    /* Scrolling by lines. */

    BOOL LineScroll(int nLines, int nChars = 0);
    int GetFirstVisibleLine() const;
    int GetLineCount() const;
};
