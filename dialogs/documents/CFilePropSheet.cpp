#include "dialogs/documents/CFilePropSheet.h"

#include "resources/ResourceIds.h"

CFilePropSheet::CFilePropSheet()
    : CPropertySheet(IDS_FILE_SHEET)
{
    AddPage(&m_general);
    AddPage(&m_attributes);
    AddPage(&m_sizeDate);
}
