#include "platform/base/RegistryFormat.h"

#include "platform/base/Registry.h"

#include <cstdio>
#include <optional>
#include <set>

namespace {

constexpr std::string_view FORMAT_HEADER = "ARCHIVORA-REGISTRY 1";
constexpr std::string_view FORMAT_END = "END";
constexpr char HEX_DIGITS[] = "0123456789abcdef";

/********************************** Writing **********************************/

void AppendHexByte(std::string& strOut, BYTE byte)
{
    strOut += HEX_DIGITS[byte >> 4];
    strOut += HEX_DIGITS[byte & 0xF];
}

void AppendQuoted(std::string& strOut, std::string_view str)
{
    strOut += '"';
    for (char ch : str) {
        auto byte = static_cast<BYTE>(ch);
        if (ch == '"' || ch == '\\') {
            strOut += '\\';
            strOut += ch;
        } else if (ch == '\n') {
            strOut += "\\n";
        } else if (ch == '\r') {
            strOut += "\\r";
        } else if (ch == '\t') {
            strOut += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            strOut += "\\x";
            AppendHexByte(strOut, byte);
        } else {
            strOut += ch;
        }
    }
    strOut += '"';
}

void AppendKeyName(std::string& strOut, std::string_view strName)
{
    for (char ch : strName) {
        auto byte = static_cast<BYTE>(ch);
        if (byte < 0x20 || byte == 0x7F || ch == '%') {
            strOut += '%';
            AppendHexByte(strOut, byte);
        } else {
            strOut += ch;
        }
    }
}

void AppendHexList(std::string& strOut, const std::vector<BYTE>& data)
{
    for (size_t i = 0; i < data.size(); ++i) {
        if (i)
            strOut += ',';
        AppendHexByte(strOut, data[i]);
    }
}

std::string_view AsText(const std::vector<BYTE>& data, size_t nLength)
{
    return { reinterpret_cast<const char*>(data.data()), nLength };
}

// A string value in readable form: one terminating NUL and no other.
bool IsPlainString(const std::vector<BYTE>& data)
{
    return !data.empty() && data.back() == 0 && AsText(data, data.size() - 1).find('\0') == std::string_view::npos;
}

bool AppendMultiString(std::string& strOut, const std::vector<BYTE>& data)
{
    if (data.size() == 1 && data[0] == 0)
        return true;
    if (data.size() < 2 || data[data.size() - 1] != 0 || data[data.size() - 2] != 0)
        return false;
    std::string_view strBody = AsText(data, data.size() - 1);
    for (size_t nStart = 0; nStart < strBody.size();) {
        size_t nEnd = strBody.find('\0', nStart);
        if (nStart)
            strOut += ',';
        AppendQuoted(strOut, strBody.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return true;
}

void AppendValue(std::string& strOut, const CRegistryValue& value)
{
    if (value.strName.empty())
        strOut += '@';
    else
        AppendQuoted(strOut, value.strName);
    strOut += '=';
    const std::vector<BYTE>& data = value.data;
    if ((value.dwType == REG_SZ || value.dwType == REG_EXPAND_SZ) && IsPlainString(data)) {
        strOut += value.dwType == REG_SZ ? "sz:" : "expand_sz:";
        AppendQuoted(strOut, AsText(data, data.size() - 1));
    } else if (value.dwType == REG_DWORD && data.size() == 4) {
        char szNumber[9];
        std::snprintf(szNumber, sizeof szNumber, "%08x",
            data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<DWORD>(data[3]) << 24));
        strOut += "dword:";
        strOut += szNumber;
    } else if (std::string strList; value.dwType == REG_MULTI_SZ && AppendMultiString(strList, data)) {
        strOut += "multi_sz:" + strList;
    } else if (value.dwType == REG_BINARY) {
        strOut += "hex:";
        AppendHexList(strOut, data);
    } else {
        char szType[24];
        std::snprintf(szType, sizeof szType, "hex(%x):", value.dwType);
        strOut += szType;
        AppendHexList(strOut, data);
    }
    strOut += '\n';
}

void AppendKey(std::string& strOut, const CRegistryNode& node, const std::string& strPath)
{
    strOut += '[' + strPath + "]\n";
    for (const CRegistryValue& value : node.GetValues())
        AppendValue(strOut, value);
    for (const auto& [strFolded, pSubkey] : node.GetSubkeys()) {
        std::string strSubPath = strPath;
        if (!strSubPath.empty())
            strSubPath += '\\';
        AppendKeyName(strSubPath, pSubkey->GetName());
        AppendKey(strOut, *pSubkey, strSubPath);
    }
}

/********************************** Reading **********************************/

std::optional<BYTE> HexDigitValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return static_cast<BYTE>(ch - '0');
    if (ch >= 'a' && ch <= 'f')
        return static_cast<BYTE>(ch - 'a' + 10);
    if (ch >= 'A' && ch <= 'F')
        return static_cast<BYTE>(ch - 'A' + 10);
    return std::nullopt;
}

// A cursor over one line; every reader returns nullopt (or false) on bad input.
class CLineReader {
public:
    explicit CLineReader(std::string_view strLine)
        : m_strLine(strLine)
    {
    }

    bool AtEnd() const { return m_nPos == m_strLine.size(); }
    bool Skip(char ch)
    {
        if (AtEnd() || m_strLine[m_nPos] != ch)
            return false;
        ++m_nPos;
        return true;
    }
    bool SkipWord(std::string_view strWord)
    {
        if (m_strLine.substr(m_nPos, strWord.size()) != strWord)
            return false;
        m_nPos += strWord.size();
        return true;
    }

    std::optional<BYTE> HexByte()
    {
        if (m_nPos + 2 > m_strLine.size())
            return std::nullopt;
        auto high = HexDigitValue(m_strLine[m_nPos]);
        auto low = HexDigitValue(m_strLine[m_nPos + 1]);
        if (!high || !low)
            return std::nullopt;
        m_nPos += 2;
        return static_cast<BYTE>((*high << 4) | *low);
    }

    std::optional<DWORD> HexNumber(size_t nMaxDigits)
    {
        DWORD dwNumber = 0;
        size_t nDigits = 0;
        while (!AtEnd() && nDigits < nMaxDigits) {
            auto digit = HexDigitValue(m_strLine[m_nPos]);
            if (!digit)
                break;
            dwNumber = (dwNumber << 4) | *digit;
            ++m_nPos;
            ++nDigits;
        }
        if (nDigits == 0)
            return std::nullopt;
        return dwNumber;
    }

    std::optional<std::string> Quoted()
    {
        if (!Skip('"'))
            return std::nullopt;
        std::string str;
        while (!AtEnd()) {
            char ch = m_strLine[m_nPos++];
            if (ch == '"')
                return str;
            if (ch != '\\') {
                str += ch;
                continue;
            }
            if (AtEnd())
                return std::nullopt;
            char chEscape = m_strLine[m_nPos++];
            switch (chEscape) {
            case '\\':
            case '"':
                str += chEscape;
                break;
            case 'n':
                str += '\n';
                break;
            case 'r':
                str += '\r';
                break;
            case 't':
                str += '\t';
                break;
            case 'x': {
                auto byte = HexByte();
                if (!byte)
                    return std::nullopt;
                str += static_cast<char>(*byte);
                break;
            }
            default:
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<std::vector<BYTE>> HexList()
    {
        std::vector<BYTE> data;
        if (AtEnd())
            return data;
        do {
            auto byte = HexByte();
            if (!byte)
                return std::nullopt;
            data.push_back(*byte);
        } while (Skip(','));
        return data;
    }

private:
    std::string_view m_strLine;
    size_t m_nPos { 0 };
};

std::vector<BYTE> BytesOf(std::string_view str, size_t nNuls)
{
    std::vector<BYTE> data(str.begin(), str.end());
    data.insert(data.end(), nNuls, 0);
    return data;
}

// Reads the type and data after "name=" up to the end of the line.
bool ReadValueData(CLineReader& reader, CRegistryValue& value)
{
    if (reader.SkipWord("sz:")) {
        value.dwType = REG_SZ;
        auto str = reader.Quoted();
        if (!str)
            return false;
        value.data = BytesOf(*str, 1);
    } else if (reader.SkipWord("expand_sz:")) {
        value.dwType = REG_EXPAND_SZ;
        auto str = reader.Quoted();
        if (!str)
            return false;
        value.data = BytesOf(*str, 1);
    } else if (reader.SkipWord("multi_sz:")) {
        value.dwType = REG_MULTI_SZ;
        if (!reader.AtEnd()) {
            do {
                auto str = reader.Quoted();
                if (!str)
                    return false;
                std::vector<BYTE> item = BytesOf(*str, 1);
                value.data.insert(value.data.end(), item.begin(), item.end());
            } while (reader.Skip(','));
        }
        value.data.push_back(0);
    } else if (reader.SkipWord("dword:")) {
        value.dwType = REG_DWORD;
        auto dwNumber = reader.HexNumber(8);
        if (!dwNumber)
            return false;
        value.data = { static_cast<BYTE>(*dwNumber), static_cast<BYTE>(*dwNumber >> 8),
            static_cast<BYTE>(*dwNumber >> 16), static_cast<BYTE>(*dwNumber >> 24) };
    } else {
        if (reader.SkipWord("hex:")) {
            value.dwType = REG_BINARY;
        } else {
            if (!reader.SkipWord("hex("))
                return false;
            auto dwType = reader.HexNumber(8);
            if (!dwType || !reader.Skip(')') || !reader.Skip(':'))
                return false;
            value.dwType = *dwType;
        }
        auto data = reader.HexList();
        if (!data)
            return false;
        value.data = std::move(*data);
    }
    return reader.AtEnd();
}

std::optional<CRegistryValue> ReadValueLine(std::string_view strLine)
{
    CLineReader reader(strLine);
    CRegistryValue value;
    if (!reader.Skip('@')) {
        auto strName = reader.Quoted();
        if (!strName || strName->empty() || strName->find('\0') != std::string::npos)
            return std::nullopt;
        value.strName = std::move(*strName);
    }
    if (!reader.Skip('=') || !ReadValueData(reader, value))
        return std::nullopt;
    return value;
}

// Splits the path of a key line ("[A\B%25C]") into its decoded names; nullopt if malformed.
std::optional<std::vector<std::string>> ReadKeyPath(std::string_view strLine)
{
    if (strLine.size() < 2 || strLine.front() != '[' || strLine.back() != ']')
        return std::nullopt;
    std::string_view strPath = strLine.substr(1, strLine.size() - 2);
    std::vector<std::string> names;
    if (strPath.empty())
        return names;
    std::string strName;
    for (size_t nPos = 0; nPos <= strPath.size(); ++nPos) {
        if (nPos == strPath.size() || strPath[nPos] == '\\') {
            if (strName.empty())
                return std::nullopt;
            names.push_back(std::move(strName));
            strName.clear();
        } else if (strPath[nPos] == '%') {
            if (nPos + 2 >= strPath.size())
                return std::nullopt;
            auto high = HexDigitValue(strPath[nPos + 1]);
            auto low = HexDigitValue(strPath[nPos + 2]);
            if (!high || !low || (*high == 0 && *low == 0))
                return std::nullopt;
            strName += static_cast<char>((*high << 4) | *low);
            nPos += 2;
        } else if (strPath[nPos] == '\0') {
            return std::nullopt;
        } else {
            strName += strPath[nPos];
        }
    }
    if (names.size() > REGISTRY_MAX_DEPTH)
        return std::nullopt;
    return names;
}

std::string LineError(size_t nLine, std::string_view strProblem)
{
    return "line " + std::to_string(nLine) + ": " + std::string(strProblem);
}

}

bool ParseRegistryText(std::string_view text, CRegistryNode& root, std::string& strError)
{
    size_t nLine = 0;
    bool bEnded = false;
    CRegistryNode* pKey = nullptr;
    std::set<const CRegistryNode*> keysSeen;
    for (size_t nStart = 0; nStart < text.size();) {
        size_t nEnd = text.find('\n', nStart);
        if (nEnd == std::string_view::npos)
            nEnd = text.size();
        std::string_view strLine = text.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        ++nLine;
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.remove_suffix(1);
        if (nLine == 1) {
            if (strLine != FORMAT_HEADER) {
                strError = "not a settings file (the first line is not \"" + std::string(FORMAT_HEADER) + "\")";
                return false;
            }
            continue;
        }
        if (strLine.empty() || strLine.front() == ';')
            continue;
        if (bEnded) {
            strError = LineError(nLine, "text after the END line");
            return false;
        }
        if (strLine == FORMAT_END) {
            bEnded = true;
        } else if (strLine.front() == '[') {
            auto names = ReadKeyPath(strLine);
            if (!names) {
                strError = LineError(nLine, "malformed key path");
                return false;
            }
            pKey = &root;
            for (const std::string& strName : *names) {
                bool bCreated = false;
                pKey = pKey->AddSubkey(strName, bCreated).get();
            }
            if (!keysSeen.insert(pKey).second) {
                strError = LineError(nLine, "the key appears twice");
                return false;
            }
        } else {
            auto value = ReadValueLine(strLine);
            if (!value || !pKey) {
                strError = LineError(nLine, pKey ? "malformed value" : "a value outside any key");
                return false;
            }
            if (pKey->FindValue(value->strName)) {
                strError = LineError(nLine, "the value appears twice");
                return false;
            }
            pKey->SetValue(value->strName, value->dwType, std::move(value->data));
        }
    }
    if (nLine == 0) {
        strError = "the file is empty";
        return false;
    }
    if (!bEnded) {
        strError = "the file ends early (it has no END line)";
        return false;
    }
    return true;
}

std::string FormatRegistryText(const CRegistryNode& root)
{
    std::string strOut(FORMAT_HEADER);
    strOut += '\n';
    AppendKey(strOut, root, {});
    strOut += FORMAT_END;
    strOut += '\n';
    return strOut;
}
