#pragma once

// Counts the flushes of the store's files and the bytes written to them, per
// program path, while it lives (through the store's write seam).

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
    void OnWrite(const CString& strPath, std::int64_t, std::span<const BYTE> data) override
    {
        m_written[std::string(strPath)] += static_cast<std::int64_t>(data.size());
    }
    void OnSync(const CString& strPath) override
    {
        ++m_flushes[std::string(strPath)];
        ++m_nFlushes;
    }
    void OnRemove(const CString&) override { }

    std::map<std::string, int> m_flushes;          // by program path
    int m_nFlushes { 0 };                          // of every file
    std::map<std::string, std::int64_t> m_written; // bytes, by program path
};
