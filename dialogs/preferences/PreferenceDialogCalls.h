#pragma once

// The preference dialogs as the rest of the program opens them: the bodies of
// the program's prompt and host calls, each a modal dialog over pParent.

#include "frame/FramePrompts.h"

#include "platform/base/WinTypes.h"

class CWnd;

// The sheet eSheet over pSheetData, the sheet's data struct
// (CPreferencesArchivoraSheetData, CPreferencesCatalogSheetData or
// CPreferencesWebSheetData): DoModal's result. The caller copies in before
// and out after IDOK.
int RunPreferenceSheet(CFramePrompts::ESheet eSheet, void* pSheetData, CWnd* pParent);

// The documents sheet over data: DoModal's result.
int RunDocumentsSheet(CDocumentsSheetData& data, CWnd* pParent);
// Offers the document types not offered before, when there are any, over
// the host's main catalog: TRUE when the offer was shown (never without a
// catalog).
BOOL OfferNewDocumentTypes(CWnd* pParent);

// The new-folder dialog over pszParentPath: 1 when the user made the folder, else 0.
int RunNewFolderDialog(LPCTSTR pszParentPath, CWnd* pParent);
