#pragma once

// An edit control with a background colour of its own: it answers its
// parent's colour question with its own brush, or leaves the default colours
// while it has none.

#include "platform/framework/CEdit.h"

class CWAColorEdit : public CEdit {
    DECLARE_MESSAGE_MAP()

public:
    CWAColorEdit() = default;
    ~CWAColorEdit() override;

    // Replaces the brush by a solid one of crColor and repaints.
    void SetBrush(COLORREF crColor);

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

private:
    CBrush m_brush;
};
