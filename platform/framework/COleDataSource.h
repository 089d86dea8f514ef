#pragma once

// COleDataSource: data offered in several formats, put on the clipboard as a
// whole. The program makes one on the heap, caches global memory blocks in it
// and calls SetClipboard, which hands the data to the clipboard and the object
// to the clipboard's care: the caller never deletes it afterwards.
//
// FIXME: drag and drop (DoDragDrop) and delayed rendering are not offered.

#include "platform/window/Clipboard.h"

#include <vector>

class COleDataSource {
public:
    COleDataSource() = default;
    virtual ~COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Keeps hGlobal as the data of the format; the object owns it from now on
    // and frees data it replaces.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal);
    // Frees all cached data.
    void Empty();
    // Replaces the clipboard's contents with the cached data, then deletes the
    // object. When the clipboard cannot be opened the data stays where it was
    // and is freed with the object.
    void SetClipboard();

private:
    struct CCachedData {
        CLIPFORMAT cfFormat;
        HGLOBAL hGlobal;
    };
    std::vector<CCachedData> m_data; // in the order cached
};
