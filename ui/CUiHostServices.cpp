#include "ui/CUiHostServices.h"

namespace {

CUiHostServices* s_pHostServices = nullptr;

} // namespace

CUiHostServices* InstallUiHostServices(CUiHostServices* pServices)
{
    CUiHostServices* pPrevious = s_pHostServices;
    s_pHostServices = pServices;
    return pPrevious;
}

CUiHostServices* GetUiHostServices()
{
    return s_pHostServices;
}

CCatalog* GetHostMainCatalog()
{
    return s_pHostServices ? s_pHostServices->GetMainCatalog() : nullptr;
}

CCatalog* GetHostRecycleCatalog()
{
    return s_pHostServices ? s_pHostServices->GetRecycleCatalog() : nullptr;
}
