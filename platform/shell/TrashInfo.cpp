#include "platform/shell/TrashInfo.h"

#include "platform/base/PathNames.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr std::string_view TRASH_INFO_GROUP = "[Trash Info]";

int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

bool IsDeletionDate(std::string_view date)
{
    // YYYY-MM-DDThh:mm:ss
    constexpr std::string_view FORM = "dddd-dd-ddTdd:dd:dd";
    if (date.size() != FORM.size())
        return false;
    for (size_t i = 0; i < FORM.size(); ++i) {
        if (FORM[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(date[i])) : date[i] != FORM[i])
            return false;
    }
    return true;
}

} // namespace

std::string PercentEncodePath(std::string_view strPath)
{
    static constexpr char HEX[] = "0123456789ABCDEF";
    std::string strEncoded;
    for (char ch : strPath) {
        auto b = static_cast<unsigned char>(ch);
        if (std::isalnum(b) || std::string_view("-_.~/!*'()").find(ch) != std::string_view::npos) {
            strEncoded += ch;
        } else {
            strEncoded += '%';
            strEncoded += HEX[b >> 4];
            strEncoded += HEX[b & 0xF];
        }
    }
    return strEncoded;
}

bool PercentDecodePath(std::string_view strEncoded, std::string& strPath)
{
    std::string strDecoded;
    for (size_t i = 0; i < strEncoded.size(); ++i) {
        if (strEncoded[i] != '%') {
            strDecoded += strEncoded[i];
            continue;
        }
        if (i + 2 >= strEncoded.size())
            return false;
        int nHigh = HexValue(strEncoded[i + 1]);
        int nLow = HexValue(strEncoded[i + 2]);
        if (nHigh < 0 || nLow < 0 || (nHigh == 0 && nLow == 0))
            return false;
        strDecoded += static_cast<char>(nHigh * 16 + nLow);
        i += 2;
    }
    strPath = std::move(strDecoded);
    return true;
}

bool ParseTrashInfo(std::string_view text, const std::string& strTopDir, CTrashInfo& info)
{
    if (text.size() > TRASH_INFO_MAX_SIZE)
        return false;
    bool bInGroup = false;
    bool bSawGroup = false;
    CTrashInfo parsed;
    bool bHasPath = false;
    while (!text.empty()) {
        size_t nEnd = text.find('\n');
        std::string_view line = Trimmed(text.substr(0, nEnd));
        text = nEnd == std::string_view::npos ? std::string_view() : text.substr(nEnd + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            bInGroup = line == TRASH_INFO_GROUP;
            bSawGroup |= bInGroup;
            continue;
        }
        if (!bInGroup)
            continue;
        size_t nEquals = line.find('=');
        if (nEquals == std::string_view::npos)
            return false;
        std::string_view key = Trimmed(line.substr(0, nEquals));
        std::string_view value = Trimmed(line.substr(nEquals + 1));
        if (key == "Path" && !bHasPath) {
            std::string strPath;
            if (!PercentDecodePath(value, strPath) || strPath.empty())
                return false;
            if (strPath.front() != '/') {
                if (strTopDir.empty())
                    return false;
                strPath = JoinHostPath(strTopDir, strPath);
            }
            parsed.strPath = NormalHostPath(strPath);
            bHasPath = true;
        } else if (key == "DeletionDate" && parsed.strDeletionDate.empty()) {
            if (!IsDeletionDate(value))
                return false;
            parsed.strDeletionDate = value;
        }
    }
    if (!bSawGroup || !bHasPath)
        return false;
    info = std::move(parsed);
    return true;
}

std::string FormatTrashInfo(const std::string& strHostPath, const std::string& strTopDir, std::time_t tWhen)
{
    std::string strPath = strHostPath;
    if (!strTopDir.empty() && strTopDir != "/" && IsInHostFolder(strHostPath, strTopDir)
        && strHostPath.size() > strTopDir.size())
        strPath = strHostPath.substr(strTopDir.size() + 1);
    std::tm local {};
    localtime_r(&tWhen, &local);
    char szDate[64];
    std::snprintf(szDate, sizeof szDate, "%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
        local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return std::string(TRASH_INFO_GROUP) + "\nPath=" + PercentEncodePath(strPath) + "\nDeletionDate=" + szDate + "\n";
}
