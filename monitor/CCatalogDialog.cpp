#include "monitor/CCatalogDialog.h"

#include <atomic>

namespace {

std::atomic<CATALOGDIALOGFACTORY> g_pfnFactory { nullptr };

} // namespace

void SetCatalogDialogFactory(CATALOGDIALOGFACTORY pfnFactory)
{
    g_pfnFactory.store(pfnFactory);
}

std::unique_ptr<CCatalogDialog> CreateCatalogDialog(CNewDocMonitor& monitor, CNewDocForm& form)
{
    const CATALOGDIALOGFACTORY pfnFactory = g_pfnFactory.load();
    return pfnFactory != nullptr ? pfnFactory(monitor, form) : nullptr;
}
