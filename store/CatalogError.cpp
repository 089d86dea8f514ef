#include "store/CatalogError.h"

#include "platform/base/CString.h"
#include "resources/ResourceIds.h"

#include <atomic>

namespace {

std::atomic<CatalogErrorHandler> g_pfnHandler { nullptr };

}

CatalogErrorHandler SetCatalogErrorHandler(CatalogErrorHandler pfnHandler)
{
    return g_pfnHandler.exchange(pfnHandler);
}

void ReportCatalogError(LPCTSTR pszFileName)
{
    CatalogErrorHandler pfnHandler = g_pfnHandler.load();
    if (!pfnHandler)
        return;
    CString strName(pszFileName ? pszFileName : "");
    CString strFormat;
    if (!strFormat.LoadString(IDS_CATALOG_FATAL_ERROR))
        strFormat = "A fatal error occurred while opening the catalog %s.";
    CString strText;
    strText.Format(strFormat, static_cast<LPCTSTR>(strName));
    pfnHandler(strName, strText, "Fatal Error", CATALOG_ERROR_STYLE);
}
