#pragma once

// CEdit: the class library's object around an "Edit" control. Positions are
// byte offsets into the UTF-8 text.

#include "platform/controls/EditControl.h"
#include "platform/framework/CWnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)

public:
    CEdit() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    /* Selection and changes. */

    // The selection; nEndChar -1 selects to the end, nStartChar -1 removes the selection.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    BOOL Undo();
    BOOL CanUndo() const;
    void EmptyUndoBuffer();
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);

    /* Limits and styles. */

    // nChars 0 allows the largest text.
    void LimitText(int nChars = 0);
    void SetLimitText(UINT nMax);
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void SetPasswordChar(TCHAR ch);
    TCHAR GetPasswordChar() const;

    /* Lines. */

    int GetLineCount() const;
    // The first position of line nLine (-1: the caret's line), or -1 past the last line.
    int LineIndex(int nLine = -1) const;
    int LineFromChar(int nIndex = -1) const;
    int LineLength(int nLine = -1) const;
    // Copies line nIndex into lpszBuffer (no NUL added); returns the bytes copied.
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    int GetFirstVisibleLine() const;
    // Scrolls a multi-line control nLines down and nChars average characters right.
    void LineScroll(int nLines, int nChars = 0);
    // Pixels kept clear at the left and right of the text; EC_USEFONTINFO takes a margin from the font.
    void SetMargins(UINT nLeft, UINT nRight);
    // The left margin (low word) and right margin (high word).
    DWORD GetMargins() const;
    void GetRect(LPRECT lpRect) const;
    CPoint PosFromChar(UINT nChar) const;
    // The position nearest the point (low word) and its line (high word).
    int CharFromPos(CPoint pt) const;
};
