#include "store/CatalogError.h"

#include "platform/base/CString.h"
#include "resources/ResourceIds.h"

#include <atomic>

namespace {

std::atomic<CatalogErrorHandler> g_pfnHandler { nullptr };
thread_local bool t_bReportsHeld = false;

}

CatalogErrorHandler SetCatalogErrorHandler(CatalogErrorHandler pfnHandler)
{
    return g_pfnHandler.exchange(pfnHandler);
}

void ReportStoreMessage(LPCTSTR pszFileName, LPCTSTR pszText, LPCTSTR pszTitle, UINT nStyle)
{
    if (t_bReportsHeld)
        return;
    if (CatalogErrorHandler pfnHandler = g_pfnHandler.load())
        pfnHandler(pszFileName ? pszFileName : "", pszText ? pszText : "", pszTitle ? pszTitle : "", nStyle);
}

void ReportCatalogError(LPCTSTR pszFileName)
{
    if (!g_pfnHandler.load())
        return;
    CString strName(pszFileName ? pszFileName : "");
    CString strFormat;
    if (!strFormat.LoadString(IDS_CATALOG_FATAL_ERROR))
        strFormat = "A fatal error occurred while opening the catalog %s.";
    CString strText;
    strText.Format(strFormat, static_cast<LPCTSTR>(strName));
    ReportStoreMessage(strName, strText, "Fatal Error", CATALOG_ERROR_STYLE);
}

CCatalogReportsHeld::CCatalogReportsHeld()
    : m_bWasHeld(t_bReportsHeld)
{
    t_bReportsHeld = true;
}

CCatalogReportsHeld::~CCatalogReportsHeld()
{
    t_bReportsHeld = m_bWasHeld;
}
