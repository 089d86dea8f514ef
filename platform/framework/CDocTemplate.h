#pragma once

// CDocTemplate: makes documents, their frames and views from run-time classes,
// and keeps the documents it made. Its resource ID names the document string
// (fields separated by "\n", see DocStringIndex), and for frames the menu,
// accelerators and icon. Commands routed to a document end at its template.
//
// CMultiDocTemplate: a template whose documents each get their own MDI child
// frames; the frames share the template's menu and accelerators.

#include "platform/base/CString.h"
#include "platform/base/CollectionHelpers.h"
#include "platform/framework/CCmdTarget.h"

#include <vector>

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)

public:
    // Fields of the document string.
    enum DocStringIndex {
        windowTitle,     // the title of a single-document frame
        docName,         // the stem of new documents' titles ("Archiv" gives "Archiv1")
        fileNewName,     // the name in the File New list
        filterName,      // the file dialog's filter text
        filterExt,       // the file extension
        regFileTypeId,   // the registry's file type
        regFileTypeName, // the file type's readable name
    };

    ~CDocTemplate() override;

    /* Documents. */

    virtual POSITION GetFirstDocPosition() const;
    virtual CDocument* GetNextDoc(POSITION& rPos) const;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    /* Making documents and frames. */

    // Loads the document string (and, for frames, menu and accelerators); runs on AddDocTemplate.
    virtual void LoadTemplate();
    // A new document of the template's class, added to the template; nullptr when it cannot be made.
    virtual CDocument* CreateNewDocument();
    // A new frame with the template's views for pDoc; nullptr when creation failed.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    // Sends the views their initial update, activates the frame's view and shows the frame.
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    // lpszPathName nullptr: a new untitled document in a new frame. Files are not read by this layer,
    // so a path fails. nullptr on failure, with nothing left behind.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    // The default title of a new document.
    virtual void SetDefaultTitle(CDocument* pDocument);
    // Closes every document of the template (their frames go with them).
    virtual void CloseAllDocuments(BOOL bEndSession);

    // FALSE when the field is missing.
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;
    UINT GetResourceID() const { return m_nIDResource; }

protected:
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
        const CRuntimeClass* pViewClass);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    std::vector<CDocument*> m_docList;
};

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)

public:
    CMultiDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
        const CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    void LoadTemplate() override;
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

    HMENU m_hMenuShared { nullptr };  // the menu of the template's frames (owned)
    HACCEL m_hAccelTable { nullptr }; // their accelerators (owned)

private:
    UINT m_nUntitledCount { 0 };
};
