#pragma once

// A link label of the web access wizard pages: dark blue, underlined, with
// the link cursor. A click first runs the page's handler (set with
// SetClickHandler; none: nothing of the page's runs), then the label's own
// handling, which opens its link address when it has one.

#include "ui/CLabelCtrl.h"

#include <functional>

class CWALinkStatic : public CLabelCtrl {
    DECLARE_MESSAGE_MAP()

public:
    // Gives the label its link look; called once it is subclassed.
    void MakeLink();
    void SetClickHandler(std::function<void()> onClick) { m_onClick = std::move(onClick); }

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);

private:
    std::function<void()> m_onClick;
};
