#include "catalog/CRunProgress.h"

#include <mutex>
#include <utility>

namespace {

// What a run shows without windows: nothing, and it is never stopped.
class CSilentProgress final : public CRunProgress {
public:
    void SetTitle(LPCTSTR) override { }
    BOOL SetText(LPCTSTR) override { return FALSE; }
    BOOL SetNode(const CNodeRec*) override { return FALSE; }
    void SetCount(int) override { }
    void SetRange(int, int, int) override { }
    void SetStep(int, int) override { }
    void StepIt(int) override { }
    BOOL PumpAndTestCancel() override { return FALSE; }
    void StartAnimation() override { }
    BOOL IsCancelled() const override { return FALSE; }
};

std::mutex g_factoryMutex;
CRunProgressFactory g_factory;

} // namespace

void SetRunProgressFactory(CRunProgressFactory factory)
{
    std::lock_guard lock(g_factoryMutex);
    g_factory = std::move(factory);
}

std::unique_ptr<CRunProgress> CreateRunProgress(ERunProgressKind eKind, HWND hOwner, const CRunProgressSetup& setup)
{
    CRunProgressFactory factory;
    {
        std::lock_guard lock(g_factoryMutex);
        factory = g_factory;
    }
    if (factory) {
        if (std::unique_ptr<CRunProgress> pProgress = factory(eKind, hOwner, setup))
            return pProgress;
    }
    return std::make_unique<CSilentProgress>();
}
