#pragma once

// CArchivoraDoc: the document of the catalog document template. It holds no
// data (the catalog lives in the store and is reached through the program's
// globals) and is never saved; the template makes it by its run-time class.

#include "platform/framework/CDocument.h"

class CArchivoraDoc : public CDocument {
    DECLARE_DYNCREATE(CArchivoraDoc)

public:
    CArchivoraDoc() = default;
};
