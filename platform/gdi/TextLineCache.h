#pragma once

// The lines a font shaped most recently, kept so that painting the same texts
// again (a list redrawn, a cell measured and then drawn) shapes each once.
// Holds at most a fixed number of lines and drops the least recently used
// first. Callers hold the GDI lock, like every user of a font.

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

class CGdiFont;
class CTextLine;

class CTextLineCache {
public:
    explicit CTextLineCache(size_t nCapacity);

    // The line of `text` in `font`, shaped now when it is not kept.
    std::shared_ptr<const CTextLine> Line(CGdiFont& font, std::string_view text);
    size_t Size() const { return m_lines.size(); }

private:
    using Entry = std::pair<std::string, std::shared_ptr<const CTextLine>>;
    size_t m_nCapacity;
    std::list<Entry> m_lines;                                                 // most recently used first
    std::unordered_map<std::string_view, std::list<Entry>::iterator> m_index; // keys point into m_lines
};
