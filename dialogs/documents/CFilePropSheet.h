#pragma once

// The sheet of a document's properties: the General, Attributes and Size and
// Dates pages, in that order, shown inside the document properties dialog.

#include "dialogs/documents/CFilePropPageAttributes.h"
#include "dialogs/documents/CFilePropPageGeneral.h"
#include "dialogs/documents/CFilePropPageSizeDate.h"

#include "platform/framework/CPropertySheet.h"

class CFilePropSheet : public CPropertySheet {
public:
    CFilePropSheet();

    CFilePropPageGeneral m_general;
    CFilePropPageAttributes m_attributes;
    CFilePropPageSizeDate m_sizeDate;
};
