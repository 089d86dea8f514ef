#include "platform/shell/LnkFile.h"

#include "platform/base/CodePages.h"
#include "platform/base/TextFunctions.h"

#include <cstring>

namespace {

constexpr DWORD LNK_HEADER_SIZE = 0x4C;
constexpr BYTE LNK_CLASS_ID[16]
    = { 0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 };

constexpr DWORD LINK_INFO_LOCAL = 0x1;   // VolumeIDAndLocalBasePath
constexpr DWORD LINK_INFO_NETWORK = 0x2; // CommonNetworkRelativeLinkAndPathSuffix
constexpr DWORD LINK_INFO_UNICODE_HEADER = 0x24;
constexpr DWORD NETWORK_LINK_UNICODE_OFFSET = 0x14; // a NetNameOffset above this: Unicode offsets follow
constexpr DWORD ENVIRONMENT_BLOCK_SIGNATURE = 0xA0000001;
constexpr DWORD ENVIRONMENT_BLOCK_SIZE = 0x314;
constexpr size_t ENVIRONMENT_TARGET_CHARS = 260;

// A bounded view of the data; every read checks its bounds.
class CReader {
public:
    explicit CReader(std::span<const BYTE> data)
        : m_data(data)
    {
    }

    size_t Size() const { return m_data.size(); }
    bool Has(size_t nOffset, size_t nCount) const
    {
        return nOffset <= m_data.size() && nCount <= m_data.size() - nOffset;
    }
    WORD U16(size_t nOffset) const { return static_cast<WORD>(m_data[nOffset] | (m_data[nOffset + 1] << 8)); }
    DWORD U32(size_t nOffset) const
    {
        return DWORD { m_data[nOffset] } | (DWORD { m_data[nOffset + 1] } << 8) | (DWORD { m_data[nOffset + 2] } << 16)
            | (DWORD { m_data[nOffset + 3] } << 24);
    }
    FILETIME Time(size_t nOffset) const { return FILETIME { U32(nOffset), U32(nOffset + 4) }; }
    std::span<const BYTE> Part(size_t nOffset, size_t nCount) const { return m_data.subspan(nOffset, nCount); }

    // A NUL-terminated ANSI string at nOffset, within the view.
    bool AnsiString(size_t nOffset, std::string& strText) const
    {
        if (nOffset >= m_data.size())
            return false;
        const void* pEnd = std::memchr(m_data.data() + nOffset, 0, m_data.size() - nOffset);
        if (!pEnd)
            return false;
        strText = Utf8FromWindows1252(std::string_view(reinterpret_cast<const char*>(m_data.data() + nOffset),
            static_cast<const BYTE*>(pEnd) - (m_data.data() + nOffset)));
        return true;
    }
    // A NUL-terminated UTF-16 string at nOffset, within the view.
    bool UnicodeString(size_t nOffset, std::string& strText) const
    {
        std::u16string text;
        for (size_t nPos = nOffset;; nPos += 2) {
            if (!Has(nPos, 2))
                return false;
            char16_t ch = U16(nPos);
            if (ch == 0)
                break;
            text += ch;
        }
        strText = Utf8FromUtf16(text);
        return true;
    }
    // nCount characters, UTF-16 or ANSI.
    std::string Characters(size_t nOffset, size_t nCount, bool bUnicode) const
    {
        if (!bUnicode)
            return Utf8FromWindows1252(
                std::string_view(reinterpret_cast<const char*>(m_data.data() + nOffset), nCount));
        std::u16string text;
        for (size_t i = 0; i < nCount; ++i)
            text += static_cast<char16_t>(U16(nOffset + 2 * i));
        return Utf8FromUtf16(text);
    }

private:
    std::span<const BYTE> m_data;
};

bool Fail(std::string& strError, const char* pszReason)
{
    strError = pszReason;
    return false;
}

bool ReadNetworkLink(const CReader& info, size_t nOffset, CLnkFile& link, std::string& strError)
{
    if (!info.Has(nOffset, 0x14))
        return Fail(strError, "the network link lies outside its structure");
    CReader network(info.Part(nOffset, info.Size() - nOffset));
    DWORD nSize = network.U32(0);
    if (nSize < 0x14 || !network.Has(0, nSize))
        return Fail(strError, "the network link has a bad size");
    CReader bounded(network.Part(0, nSize));
    DWORD nNetNameOffset = bounded.U32(8);
    bool bUnicode = nNetNameOffset > NETWORK_LINK_UNICODE_OFFSET;
    if (bUnicode && bounded.Has(0x14, 4)) {
        if (!bounded.UnicodeString(bounded.U32(0x14), link.strNetName))
            return Fail(strError, "the share name runs past its structure");
    } else if (!bounded.AnsiString(nNetNameOffset, link.strNetName)) {
        return Fail(strError, "the share name runs past its structure");
    }
    link.bHasNetworkLink = true;
    return true;
}

bool ReadLinkInfo(const CReader& file, size_t& nPos, CLnkFile& link, std::string& strError)
{
    if (!file.Has(nPos, 4))
        return Fail(strError, "the file ends before its link information");
    DWORD nSize = file.U32(nPos);
    if (nSize < 0x1C || !file.Has(nPos, nSize))
        return Fail(strError, "the link information has a bad size");
    CReader info(file.Part(nPos, nSize));
    nPos += nSize;
    DWORD nHeaderSize = info.U32(4);
    DWORD dwInfoFlags = info.U32(8);
    if (nHeaderSize < 0x1C || nHeaderSize > nSize)
        return Fail(strError, "the link information's header has a bad size");
    bool bUnicode = nHeaderSize >= LINK_INFO_UNICODE_HEADER && nSize >= LINK_INFO_UNICODE_HEADER;
    DWORD nSuffixOffset = info.U32(0x18);
    if (dwInfoFlags & LINK_INFO_LOCAL) {
        DWORD nBaseOffset = bUnicode ? info.U32(0x1C) : info.U32(0x10);
        bool bRead = bUnicode ? info.UnicodeString(nBaseOffset, link.strLocalBasePath)
                              : info.AnsiString(nBaseOffset, link.strLocalBasePath);
        if (!bRead)
            return Fail(strError, "the local base path runs past its structure");
        link.bHasLocalBasePath = true;
    }
    if ((dwInfoFlags & LINK_INFO_NETWORK) && !ReadNetworkLink(info, info.U32(0x14), link, strError))
        return false;
    if (dwInfoFlags & (LINK_INFO_LOCAL | LINK_INFO_NETWORK)) {
        bool bRead = bUnicode ? info.UnicodeString(info.U32(0x20), link.strCommonPathSuffix)
                              : info.AnsiString(nSuffixOffset, link.strCommonPathSuffix);
        if (!bRead)
            return Fail(strError, "the common path suffix runs past its structure");
    }
    return true;
}

bool ReadStrings(const CReader& file, size_t& nPos, CLnkFile& link, std::string& strError)
{
    bool bUnicode = (link.dwFlags & LNK_IS_UNICODE) != 0;
    std::pair<DWORD, std::string*> fields[] = { { LNK_HAS_NAME, &link.strName },
        { LNK_HAS_RELATIVE_PATH, &link.strRelativePath }, { LNK_HAS_WORKING_DIR, &link.strWorkingDir },
        { LNK_HAS_ARGUMENTS, &link.strArguments }, { LNK_HAS_ICON_LOCATION, &link.strIconLocation } };
    for (auto [dwFlag, pText] : fields) {
        if (!(link.dwFlags & dwFlag))
            continue;
        if (!file.Has(nPos, 2))
            return Fail(strError, "the file ends inside its strings");
        size_t nCount = file.U16(nPos);
        size_t cbText = bUnicode ? 2 * nCount : nCount;
        if (!file.Has(nPos + 2, cbText))
            return Fail(strError, "a string runs past the end of the file");
        *pText = file.Characters(nPos + 2, nCount, bUnicode);
        nPos += 2 + cbText;
    }
    return true;
}

bool ReadExtraData(const CReader& file, size_t nPos, CLnkFile& link, std::string& strError)
{
    // Blocks until the terminal block (a size below 4), or the end of a file that omits it.
    while (file.Has(nPos, 4)) {
        DWORD nSize = file.U32(nPos);
        if (nSize < 4)
            return true;
        if (nSize < 8 || !file.Has(nPos, nSize))
            return Fail(strError, "an extra data block has a bad size");
        if (file.U32(nPos + 4) == ENVIRONMENT_BLOCK_SIGNATURE) {
            if (nSize != ENVIRONMENT_BLOCK_SIZE)
                return Fail(strError, "the environment block has a bad size");
            CReader block(file.Part(nPos + 8, nSize - 8));
            std::string strUnicode;
            bool bUnicode = block.UnicodeString(ENVIRONMENT_TARGET_CHARS, strUnicode) && !strUnicode.empty();
            if (bUnicode)
                link.strEnvironmentTarget = strUnicode;
            else if (!CReader(block.Part(0, ENVIRONMENT_TARGET_CHARS)).AnsiString(0, link.strEnvironmentTarget))
                return Fail(strError, "the environment block's target has no end");
        }
        nPos += nSize;
    }
    return true;
}

} // namespace

bool ReadLnkFile(std::span<const BYTE> data, CLnkFile& link, std::string& strError)
{
    if (data.size() > LNK_MAX_SIZE)
        return Fail(strError, "the file is too large for a shortcut");
    CReader file(data);
    if (!file.Has(0, LNK_HEADER_SIZE) || file.U32(0) != LNK_HEADER_SIZE
        || std::memcmp(data.data() + 4, LNK_CLASS_ID, sizeof LNK_CLASS_ID) != 0)
        return Fail(strError, "the file is not a shortcut");
    CLnkFile read;
    read.dwFlags = file.U32(0x14);
    read.dwFileAttributes = file.U32(0x18);
    read.ftCreationTime = file.Time(0x1C);
    read.ftAccessTime = file.Time(0x24);
    read.ftWriteTime = file.Time(0x2C);
    read.nFileSize = file.U32(0x34);
    size_t nPos = LNK_HEADER_SIZE;
    if (read.dwFlags & LNK_HAS_ID_LIST) {
        if (!file.Has(nPos, 2) || !file.Has(nPos + 2, file.U16(nPos)))
            return Fail(strError, "the item id list runs past the end of the file");
        nPos += 2 + file.U16(nPos);
    }
    if ((read.dwFlags & LNK_HAS_LINK_INFO) && !ReadLinkInfo(file, nPos, read, strError))
        return false;
    if (!ReadStrings(file, nPos, read, strError) || !ReadExtraData(file, nPos, read, strError))
        return false;
    link = std::move(read);
    return true;
}
