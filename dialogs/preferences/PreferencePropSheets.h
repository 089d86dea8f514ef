#pragma once

// The program's four preference sheets. Each is built over its data struct
// (which the caller copies in before DoModal and copies out after IDOK) and
// holds its pages, in tab order; a page binds its controls to its part of
// the data. Pages that were never shown leave their part as it was copied in.

#include "dialogs/preferences/CKadPreferencesPropSheet.h"
#include "store/PreferenceSheets.h"

// The general preferences.
class CPreferencesArchivoraPropSheet : public CKadPreferencesPropSheet {
public:
    CPreferencesArchivoraPropSheet(CPreferencesArchivoraSheetData& data, CWnd* pParentWnd);
};

// The new-document monitor's preferences.
class CPreferencesCatalogPropSheet : public CKadPreferencesPropSheet {
public:
    CPreferencesCatalogPropSheet(CPreferencesCatalogSheetData& data, CWnd* pParentWnd);
};

// The web access account and connection.
class CPreferencesWebPropSheet : public CKadPreferencesPropSheet {
public:
    CPreferencesWebPropSheet(CPreferencesWebSheetData& data, CWnd* pParentWnd);
};

// The documents and folders the catalogue update takes.
class CDocumentsPropSheet : public CKadPreferencesPropSheet {
public:
    CDocumentsPropSheet(CDocumentsSheetData& data, CWnd* pParentWnd);
};
