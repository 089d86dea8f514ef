#pragma once

// CDocument: the data a set of views shows. Views add themselves when they are
// made and remove themselves when destroyed; with m_bAutoDelete (the default)
// the document deletes itself when its last view goes. Commands routed to a
// document reach it and then its template.

#include "platform/base/CString.h"
#include "platform/base/CollectionHelpers.h"
#include "platform/framework/CCmdTarget.h"

#include <vector>

class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)

public:
    CDocument() = default;
    ~CDocument() override;

    /* Title and template. */

    const CString& GetTitle() const { return m_strTitle; }
    // Sets the title and updates the titles of the frames that show the document.
    virtual void SetTitle(LPCTSTR lpszTitle);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    /* Views. */

    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    void AddView(CView* pView);
    // Removes the view; the document deletes itself when it was the last one and m_bAutoDelete is set.
    void RemoveView(CView* pView);
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    /* Life cycle. */

    // A new, empty document: DeleteContents, then not modified. FALSE fails the creation.
    virtual BOOL OnNewDocument();
    // Destroys every frame that shows the document, then deletes it (with m_bAutoDelete).
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    // TRUE when the document may be closed. Nothing is ever saved, so this never asks.
    virtual BOOL SaveModified();
    // TRUE when closing the frame may go on: asks SaveModified when it shows the last view.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // The document itself, then its template.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoDelete { TRUE };

protected:
    // Called when a view was added or removed; deletes the document when none is left.
    virtual void OnChangedViewList();

private:
    friend class CDocTemplate;

    CString m_strTitle;
    CDocTemplate* m_pDocTemplate { nullptr };
    std::vector<CView*> m_viewList;
    BOOL m_bModified { FALSE };
    bool m_bClosing { false }; // OnCloseDocument runs: removing views must not delete twice
};
