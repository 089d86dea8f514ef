#include "platform/framework/COleDataSource.h"

#include <algorithm>

COleDataSource::~COleDataSource()
{
    Empty();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal)
{
    auto it = std::find_if(
        m_data.begin(), m_data.end(), [&](const CCachedData& data) { return data.cfFormat == cfFormat; });
    if (it != m_data.end()) {
        if (it->hGlobal != hGlobal)
            GlobalFree(it->hGlobal);
        it->hGlobal = hGlobal;
        return;
    }
    m_data.push_back({ cfFormat, hGlobal });
}

void COleDataSource::Empty()
{
    for (const CCachedData& data : m_data) {
        if (data.hGlobal)
            GlobalFree(data.hGlobal);
    }
    m_data.clear();
}

void COleDataSource::SetClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        for (CCachedData& data : m_data) {
            // The clipboard owns what it took; what it refused is freed with the object.
            if (SetClipboardData(data.cfFormat, data.hGlobal))
                data.hGlobal = nullptr;
        }
        CloseClipboard();
    }
    delete this;
}
