#include "catalog/CCatalogPrompts.h"

#include "platform/base/MessageBoxCodes.h"

#include <atomic>

namespace {

CCatalogPrompts g_declining;
std::atomic<CCatalogPrompts*> g_pPrompts { nullptr };

} // namespace

int CCatalogPrompts::ConfirmSelectionAction(int, LPCTSTR, BOOL, HWND)
{
    return IDCANCEL;
}

int CCatalogPrompts::AskPassword(HICON, LPCTSTR, LPCTSTR, int, BOOL, CString&)
{
    return IDCANCEL;
}

int CCatalogPrompts::AskExpiryDate(const CDocumentRec&, LONG&)
{
    return IDCANCEL;
}

int CCatalogPrompts::ShowNewDocsSummary(const CNewDocNoticeArray&, HWND)
{
    return IDCANCEL;
}

void CCatalogPrompts::ShowNewDocsFound(int, HWND) { }

CCatalogPrompts& GetCatalogPrompts()
{
    CCatalogPrompts* pPrompts = g_pPrompts.load();
    return pPrompts != nullptr ? *pPrompts : g_declining;
}

void SetCatalogPrompts(CCatalogPrompts* pPrompts)
{
    g_pPrompts.store(pPrompts);
}
