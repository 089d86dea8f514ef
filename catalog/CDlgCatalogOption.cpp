#include "catalog/CDlgCatalogOption.h"

#include "resources/ResourceIds.h"

#include "platform/framework/CDataExchange.h"

CDlgCatalogOption::CDlgCatalogOption(CWnd* pParent)
    : CDialog(IDD_CATALOG_OPTION, pParent)
{
}

void CDlgCatalogOption::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_CATALOG_OPTION_TEXT, m_strText);
}
