#pragma once

// A progress dialog for tests: it records what a run shows and asks for a
// stop when told to, and the factory that hands it out while the object lives.

#include "catalog/CRunProgress.h"

#include <memory>
#include <string>
#include <vector>

struct CProgressRecord {
    std::vector<ERunProgressKind> created;
    std::vector<std::string> titles;
    std::vector<std::string> texts;
    int nSteps { 0 };
    int nPumps { 0 };
    // The feeding call (counted from 1) that reports a stop request; 0 for none.
    int nStopAt { 0 };
    bool bCancelled { false };
};

class CScriptedProgress final : public CRunProgress {
public:
    explicit CScriptedProgress(CProgressRecord& record)
        : m_record(record)
    {
    }
    void SetTitle(LPCTSTR pszTitle) override { m_record.titles.emplace_back(pszTitle); }
    BOOL SetText(LPCTSTR pszText) override
    {
        m_record.texts.emplace_back(pszText);
        return PumpAndTestCancel();
    }
    BOOL SetNode(const CNodeRec*) override { return PumpAndTestCancel(); }
    void SetCount(int) override { }
    void SetRange(int, int, int) override { }
    void SetStep(int, int) override { }
    void StepIt(int) override { ++m_record.nSteps; }
    BOOL PumpAndTestCancel() override
    {
        if (++m_record.nPumps != m_record.nStopAt)
            return FALSE;
        m_record.bCancelled = true;
        return TRUE;
    }
    void StartAnimation() override { }
    BOOL IsCancelled() const override { return m_record.bCancelled ? TRUE : FALSE; }

private:
    CProgressRecord& m_record;
};

// Installs a factory of scripted dialogs for its lifetime.
class CScriptedProgressFactory {
public:
    CScriptedProgressFactory()
    {
        SetRunProgressFactory([this](ERunProgressKind eKind, HWND, const CRunProgressSetup&) {
            m_record.created.push_back(eKind);
            return std::make_unique<CScriptedProgress>(m_record);
        });
    }
    ~CScriptedProgressFactory() { SetRunProgressFactory({}); }
    CScriptedProgressFactory(const CScriptedProgressFactory&) = delete;
    CScriptedProgressFactory& operator=(const CScriptedProgressFactory&) = delete;

    CProgressRecord& Record() { return m_record; }

private:
    CProgressRecord m_record;
};
