#pragma once

// CContentView in its first form: a read-only text pane (ID 4661) where the
// focused document's preview will show.

#include "frame/CPaneView.h"

#include "platform/framework/CEdit.h"

class CContentView : public CPaneView {
    DECLARE_DYNCREATE(CContentView)

public:
    static constexpr UINT TEXT_ID = 4661;

    CContentView() = default;

    // Shows the list's row nItem (0: nothing).
    void ShowDocument(LPARAM nItem);

protected:
    BOOL CreateControl() override;
    CWnd* GetControl() override { return &m_text; }

private:
    // FIXME: the rich edit control once the platform has it.
    CEdit m_text;
};
