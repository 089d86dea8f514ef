#pragma once

// What the catalog commands gather for their pages: the session's rights and
// a document's row, read from the profile and the catalog into the plain
// structures the page writers take.

#include "webaccess/pages/CatalogDocumentRow.h"
#include "webaccess/pages/CatalogPageFrame.h"

class CDocumentRec;
class CWASession;

// The rights of the session's profile and its browser flag.
CWAPageRights ReadPageRights(CWASession& session);
// The document's expiry state, texts and, from its loaded state, its size and
// modification time; the texts are whole.
CWADocumentRow ReadDocumentRow(const CDocumentRec& document);
// A file's size and modification time in a row; both stay unknown when its
// state cannot be read.
CWADocumentRow ReadFileRow(LPCTSTR pszPath);
