#include "dialogs/setup/UsageFile.h"

#include "store/FileHelpers.h"

#include "platform/base/AfxDebug.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"

#include <string>

namespace {

constexpr char USAGE_FILE_NAME[] = "Usage.txt";

// The level of a line: its first character's digit value, else 0.
int LineLevel(std::string_view line)
{
    return !line.empty() && line[0] >= '0' && line[0] <= '9' ? line[0] - '0' : 0;
}

// The text of a line: from its third character on.
CString LineText(std::string_view line)
{
    if (line.size() <= 2)
        return CString();
    const std::string text(line.substr(2));
    return CString(text.c_str());
}

// Hands out the lines of a text one by one, without their line ends (a CR
// before the LF goes too), each cut to MAX_LINE_BYTES.
class CUsageLines {
public:
    explicit CUsageLines(std::string_view text)
        : m_text(text)
    {
    }

    bool Next(std::string_view& line)
    {
        if (m_nPos >= m_text.size())
            return false;
        const std::size_t nEnd = std::min(m_text.find('\n', m_nPos), m_text.size());
        line = m_text.substr(m_nPos, nEnd - m_nPos);
        m_nPos = nEnd + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > CUsageProfiles::MAX_LINE_BYTES) {
            TRACE("Usage file: a line of %zu bytes is cut\n", line.size());
            const std::string whole(line.substr(0, CUsageProfiles::MAX_LINE_BYTES + 4));
            line = line.substr(0, Utf8PrefixLength(whole.c_str(), CUsageProfiles::MAX_LINE_BYTES));
        }
        return true;
    }

private:
    std::string_view m_text;
    std::size_t m_nPos { 0 };
};

// Reads the program folder's own usage file, up to one byte past the bound;
// FALSE when it cannot be opened or read.
BOOL ReadOwnUsageFile(std::string& text)
{
    CFile file;
    if (!file.Open(GetProgramFolder() + USAGE_FILE_NAME, CFile::modeRead | CFile::shareDenyNone))
        return FALSE;
    text.assign(CUsageProfiles::MAX_FILE_BYTES + 1, '\0');
    std::size_t nRead = 0;
    try {
        for (UINT nChunk = 0; nRead < text.size(); nRead += nChunk) {
            nChunk = file.Read(text.data() + nRead, static_cast<UINT>(text.size() - nRead));
            if (nChunk == 0)
                break;
        }
    } catch (CException* pException) {
        pException->Delete();
        return FALSE;
    }
    text.resize(nRead);
    return TRUE;
}

} // namespace

void ParseUsageText(std::string_view text, CUsageProfiles& profiles)
{
    profiles.heads.clear();
    profiles.entries.clear();
    if (text.size() > CUsageProfiles::MAX_FILE_BYTES) {
        TRACE("Usage file: only the first %zu bytes are read\n", CUsageProfiles::MAX_FILE_BYTES);
        text = text.substr(0, CUsageProfiles::MAX_FILE_BYTES);
        text = text.substr(0, text.rfind('\n') + 1);
    }
    CUsageLines lines(text);
    std::string_view line;
    if (!lines.Next(line))
        return;
    bool bEntries = false;
    while (lines.Next(line)) {
        if (LineLevel(line) == 1) {
            bEntries = true;
            break;
        }
        profiles.heads.push_back(LineText(line));
    }
    if (!bEntries || !lines.Next(line))
        return;
    // line names an entry; its items follow at level 3.
    for (bool bMore = true; bMore;) {
        CString strName = LineText(line);
        std::vector<CString> items;
        while ((bMore = lines.Next(line)) && LineLevel(line) == 3) {
            if (items.size() < CUsageProfiles::MAX_ITEMS)
                items.push_back(LineText(line));
        }
        if (profiles.entries.size() >= CUsageProfiles::MAX_ENTRIES && !profiles.entries.contains(strName)) {
            TRACE("Usage file: entries past %zu are ignored\n", CUsageProfiles::MAX_ENTRIES);
            return;
        }
        profiles.entries[strName] = std::move(items);
    }
}

BOOL LoadUsageFile(CUsageProfiles& profiles)
{
    std::string text;
    const BOOL bRead = GetFileAttributes(GetProgramFolder() + USAGE_FILE_NAME) != INVALID_FILE_ATTRIBUTES
        ? ReadOwnUsageFile(text)
        : ReadProgramDataFile(USAGE_FILE_NAME, CUsageProfiles::MAX_FILE_BYTES + 1, text);
    ParseUsageText(bRead ? std::string_view(text) : std::string_view(), profiles);
    return bRead;
}
