#pragma once

// Counts the flushes of the store's files, per program path, while it lives
// (through the store's write seam).

#include "store/CatalogIo.h"

#include <map>
#include <string>

class CFlushCounter : public CCatalogIoRecorder {
public:
    CFlushCounter() { SetCatalogIoRecorder(this); }
    ~CFlushCounter() override { SetCatalogIoRecorder(nullptr); }
    CFlushCounter(const CFlushCounter&) = delete;
    CFlushCounter& operator=(const CFlushCounter&) = delete;

    void OnCreate(const CString&) override { }
    void OnWrite(const CString&, std::int64_t, std::span<const BYTE>) override { }
    void OnSync(const CString& strPath) override
    {
        ++m_flushes[std::string(strPath)];
        ++m_nFlushes;
    }
    void OnRemove(const CString&) override { }

    std::map<std::string, int> m_flushes; // by program path
    int m_nFlushes { 0 };                 // of every file
};
