#pragma once

// Offers the document types that are new since the last offer: the types of
// the file-type map not named in the "Documents" preference, newest first,
// those holding a catalogued extension checked. OK writes the catalog's
// extensions (the chosen ones, and those no listed type holds, which it
// keeps), records every type of the map as offered, and has the host rebuild
// the new-document menu. Cancel changes neither. Its template is resource
// IDD_CATALOG_DOC_TYPES.

#include "dialogs/preferences/CDlgDocumentTypes.h"

class CCatalog;

class CDlgCatalogDocTypes : public CDlgDocumentTypes {
public:
    // pCatalog is the catalog whose extensions are chosen; it outlives the dialog.
    CDlgCatalogDocTypes(CCatalog* pCatalog, CWnd* pParent);

    // Whether the file-type map has a type not yet offered. Names of
    // "Documents" that no type has any more are dropped first, and saved.
    static BOOL HasNewDocumentTypes();

protected:
    void FillTypes() override;
    void MarkExtensions() override;
    void OnOK() override;

private:
    // Writes the choice to the catalog and the preferences; FALSE on a failed write.
    BOOL SaveChoice();

    CCatalog* m_pCatalog;
};
