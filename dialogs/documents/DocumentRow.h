#pragma once

// The document row at the top of the document dialogs: the document's icon
// (IDC_DOCUMENT_ICON) and its path (IDC_DOCUMENT_PATH, cut with an ellipsis
// in the middle when long).

#include "platform/framework/CWnd.h"

// hIcon null keeps the template's picture.
void ShowDocumentRow(CWnd& dialog, HICON hIcon, LPCTSTR pszPath);

class CDocumentRec;

// The path a document dialog shows: the document's folder (a network folder
// by its drive letter) followed by its name.
CString DocumentDisplayPath(const CDocumentRec& document);
