#pragma once

// The document menus of the main frame's menu bar, as image menus over the
// small system image list, each emptied and filled again before it shows:
// the favourite documents (ID_FAVORITE_FIRST + their place by name), the
// recently catalogued ones (ID_RECENT_FIRST + their place in the list) and
// the pending documents listed unprotected that the catalog holds
// (ID_PENDING_FIRST + their entry's index, as the frame reads them back).
// Every item is the document's full path with its type's icon; the pending
// documents show their file's own icon.

#include "ui/CImageMenu.h"
#include "ui/CSysImageList.h"

#include <memory>

class CCatalog;
class CDocumentRec;
class CPendingDocs;

// The catalog's document of pending entry nIndex when the entry is listed
// unprotected; null otherwise or when the catalog holds no such document.
std::unique_ptr<CDocumentRec> FindUnprotectedDocument(CCatalog* pCatalog, const CPendingDocs& pending, int nIndex);

class CDocumentMenu : public CImageMenu {
public:
    CDocumentMenu();

    // Each returns whether the menu has any item.
    BOOL BuildFavorites(CCatalog* pCatalog);
    BOOL BuildPending(CCatalog* pCatalog, CPendingDocs* pPending);

private:
    CSysImageList m_systemImages; // keeps the system lists attached
};

// The menu of the recently catalogued documents.
class CRecentDocsMenu : public CDocumentMenu {
public:
    BOOL Build(CCatalog* pCatalog);
};
