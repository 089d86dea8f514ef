#pragma once

// CConnectorSplitterWnd: the splitter of a catalog view (tree, list, preview).
// Over the bar between the tree and the list it paints a band at the height of
// the tree's selected item, so that the selected system's tab runs on into the
// document list. Nothing is painted while the tree has no selection or the
// selected item is scrolled out of sight.

#include "frame/CSplitterWndEx.h"

class CConnectorSplitterWnd : public CSplitterWndEx {
public:
    // The control ID of the tree inside the first pane.
    static constexpr int TREE_CONTROL_ID = 101;

    CConnectorSplitterWnd() = default;

    void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override;
    // Repaints the bar between the tree and the list now, after the tree's
    // selection moved.
    void InvalidateConnector();

private:
    // The band in splitter coordinates, clipped to the tree and to rcClip;
    // empty when there is nothing to connect.
    CRect ConnectorBand(const CRect& rcClip) const;
};
