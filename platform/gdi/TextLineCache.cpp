#include "platform/gdi/TextLineCache.h"

#include "platform/gdi/TextEngine.h"

#include <algorithm>

CTextLineCache::CTextLineCache(size_t nCapacity)
    : m_nCapacity(std::max<size_t>(1, nCapacity))
{
}

std::shared_ptr<const CTextLine> CTextLineCache::Line(CGdiFont& font, std::string_view text)
{
    auto found = m_index.find(text);
    if (found != m_index.end()) {
        m_lines.splice(m_lines.begin(), m_lines, found->second);
        return found->second->second;
    }
    if (m_lines.size() >= m_nCapacity) {
        m_index.erase(m_lines.back().first);
        m_lines.pop_back();
    }
    m_lines.emplace_front(std::string(text), std::make_shared<const CTextLine>(font, text));
    m_index.emplace(m_lines.front().first, m_lines.begin());
    return m_lines.front().second;
}
