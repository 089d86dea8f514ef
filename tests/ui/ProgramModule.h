#pragma once

// Makes the program's own resource module, as the build made it, the current
// resource module while the object lives.

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "tests/support/TestData.h"

class ProgramModule {
public:
    ProgramModule()
        : m_hPrevious(AfxGetResourceHandle())
    {
        m_hModule = LoadLibrary(ProgramPathFromHostPath((BinaryRoot() / "app" / "arching.dll").string()).c_str());
        if (m_hModule)
            AfxSetResourceHandle(m_hModule);
    }
    ~ProgramModule()
    {
        AfxSetResourceHandle(m_hPrevious);
        if (m_hModule)
            FreeLibrary(m_hModule);
    }
    ProgramModule(const ProgramModule&) = delete;
    ProgramModule& operator=(const ProgramModule&) = delete;

    HMODULE Handle() const { return m_hModule; }

private:
    HINSTANCE m_hPrevious;
    HMODULE m_hModule { nullptr };
};
