#include "frame/CArchivoraDoc.h"

IMPLEMENT_DYNCREATE(CArchivoraDoc, CDocument)
