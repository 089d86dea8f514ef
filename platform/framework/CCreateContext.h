#pragma once

// What a frame passes down while it makes its views: the view class to make,
// the document it shows, and the frame and view already there. It travels as
// the lpCreateParams of the frame's and the view's CREATESTRUCT.

#include "platform/base/CObject.h"

class CDocument;
class CDocTemplate;
class CFrameWnd;
class CView;

class CCreateContext {
public:
    const CRuntimeClass* m_pNewViewClass { nullptr }; // the view to make; nullptr for none
    CDocument* m_pCurrentDoc { nullptr };             // the document the new views show
    CDocTemplate* m_pNewDocTemplate { nullptr };      // the template making the frame
    CView* m_pLastView { nullptr };                   // a view of the frame this one copies
    CFrameWnd* m_pCurrentFrame { nullptr };           // the frame this one copies
};
