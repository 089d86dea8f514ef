#pragma once

// Builds shortcut files in the public shell-link format, for the tests of the
// reader: a header, an optional item id list, LinkInfo with a local base path
// and/or a share (ANSI, or Unicode too), string data and extra data blocks.

#include "platform/base/TextFunctions.h"
#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

class LnkBuilder {
public:
    LnkBuilder& IdList(std::vector<BYTE> bytes)
    {
        m_idList = std::move(bytes);
        m_dwFlags |= 0x1;
        return *this;
    }
    // The LinkInfo; strings are Windows-1252 bytes when bUnicode is false.
    LnkBuilder& LocalPath(std::string strBase, std::string strSuffix, bool bUnicode = false)
    {
        m_strBase = std::move(strBase);
        m_strSuffix = std::move(strSuffix);
        m_bLocal = true;
        m_bUnicodeInfo = bUnicode;
        m_dwFlags |= 0x2;
        return *this;
    }
    LnkBuilder& Share(std::string strNetName, std::string strSuffix)
    {
        m_strNet = std::move(strNetName);
        m_strSuffix = std::move(strSuffix);
        m_bNetwork = true;
        m_dwFlags |= 0x2;
        return *this;
    }
    LnkBuilder& RelativePath(std::string strText) { return String(0x8, 1, std::move(strText)); }
    LnkBuilder& Arguments(std::string strText) { return String(0x20, 3, std::move(strText)); }
    LnkBuilder& Name(std::string strText) { return String(0x4, 0, std::move(strText)); }
    LnkBuilder& Environment(std::string strTarget)
    {
        m_strEnvironment = std::move(strTarget);
        return *this;
    }
    LnkBuilder& Flags(DWORD dwFlags)
    {
        m_dwFlags |= dwFlags;
        return *this;
    }
    LnkBuilder& Target(DWORD dwAttributes, DWORD nSize, ULONGLONG nWriteTime)
    {
        m_dwAttributes = dwAttributes;
        m_nSize = nSize;
        m_nWriteTime = nWriteTime;
        return *this;
    }

    std::vector<BYTE> Build() const
    {
        std::vector<BYTE> out;
        U32(out, 0x4C);
        for (BYTE b :
            { 0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 })
            out.push_back(b);
        U32(out, m_dwFlags | 0x80); // strings are Unicode
        U32(out, m_dwAttributes);
        for (int i = 0; i < 2; ++i)
            U64(out, 0);
        U64(out, m_nWriteTime);
        U32(out, m_nSize);
        out.resize(0x4C, 0);
        if (m_dwFlags & 0x1) {
            U16(out, static_cast<WORD>(m_idList.size()));
            out.insert(out.end(), m_idList.begin(), m_idList.end());
        }
        if (m_dwFlags & 0x2)
            LinkInfo(out);
        for (int i = 0; i < 5; ++i) {
            if (m_strings[i].empty() && !(m_dwFlags & STRING_FLAGS[i]))
                continue;
            std::u16string wide = Utf16FromUtf8(m_strings[i]);
            U16(out, static_cast<WORD>(wide.size()));
            for (char16_t ch : wide)
                U16(out, ch);
        }
        if (!m_strEnvironment.empty()) {
            U32(out, 0x314);
            U32(out, 0xA0000001);
            std::vector<BYTE> ansi(260, 0);
            std::vector<BYTE> unicode(520, 0);
            std::u16string wide = Utf16FromUtf8(m_strEnvironment);
            for (size_t i = 0; i < wide.size() && i < 259; ++i) {
                ansi[i] = static_cast<BYTE>(wide[i] < 0x80 ? wide[i] : '?');
                unicode[2 * i] = static_cast<BYTE>(wide[i] & 0xFF);
                unicode[2 * i + 1] = static_cast<BYTE>(wide[i] >> 8);
            }
            out.insert(out.end(), ansi.begin(), ansi.end());
            out.insert(out.end(), unicode.begin(), unicode.end());
        }
        U32(out, 0); // the terminal block
        return out;
    }

private:
    static constexpr DWORD STRING_FLAGS[5] = { 0x4, 0x8, 0x10, 0x20, 0x40 };

    LnkBuilder& String(DWORD dwFlag, int nIndex, std::string strText)
    {
        m_dwFlags |= dwFlag;
        m_strings[nIndex] = std::move(strText);
        return *this;
    }

    void LinkInfo(std::vector<BYTE>& out) const
    {
        DWORD nHeader = m_bUnicodeInfo ? 0x24 : 0x1C;
        std::vector<BYTE> body; // what follows the header
        auto offset = [&] { return static_cast<DWORD>(nHeader + body.size()); };
        DWORD nVolume = 0, nBase = 0, nNetwork = 0, nSuffix = 0, nBaseUnicode = 0, nSuffixUnicode = 0;
        if (m_bLocal) {
            nVolume = offset();
            for (DWORD dw : { 0x11u, 3u, 0x12345678u, 0x10u })
                U32(body, dw);
            body.push_back(0);
            nBase = offset();
            Ansi(body, m_strBase);
        }
        if (m_bNetwork) {
            nNetwork = offset();
            std::vector<BYTE> link;
            for (DWORD dw : { static_cast<DWORD>(0x14 + m_strNet.size() + 1), 2u, 0x14u, 0u, 0x20000u })
                U32(link, dw);
            Ansi(link, m_strNet);
            body.insert(body.end(), link.begin(), link.end());
        }
        nSuffix = offset();
        Ansi(body, m_strSuffix);
        if (m_bUnicodeInfo) {
            nBaseUnicode = offset();
            Unicode(body, m_strBase);
            nSuffixUnicode = offset();
            Unicode(body, m_strSuffix);
        }
        std::vector<BYTE> info;
        U32(info, static_cast<DWORD>(nHeader + body.size()));
        U32(info, nHeader);
        U32(info, (m_bLocal ? 1 : 0) | (m_bNetwork ? 2 : 0));
        for (DWORD dw : { nVolume, nBase, nNetwork, nSuffix })
            U32(info, dw);
        if (m_bUnicodeInfo) {
            U32(info, nBaseUnicode);
            U32(info, nSuffixUnicode);
        }
        info.insert(info.end(), body.begin(), body.end());
        out.insert(out.end(), info.begin(), info.end());
    }

    static void U16(std::vector<BYTE>& out, WORD w)
    {
        out.push_back(static_cast<BYTE>(w & 0xFF));
        out.push_back(static_cast<BYTE>(w >> 8));
    }
    static void U32(std::vector<BYTE>& out, DWORD dw)
    {
        U16(out, static_cast<WORD>(dw & 0xFFFF));
        U16(out, static_cast<WORD>(dw >> 16));
    }
    static void U64(std::vector<BYTE>& out, ULONGLONG n)
    {
        U32(out, static_cast<DWORD>(n));
        U32(out, static_cast<DWORD>(n >> 32));
    }
    static void Ansi(std::vector<BYTE>& out, const std::string& strText)
    {
        out.insert(out.end(), strText.begin(), strText.end());
        out.push_back(0);
    }
    static void Unicode(std::vector<BYTE>& out, const std::string& strText)
    {
        for (char16_t ch : Utf16FromUtf8(strText))
            U16(out, ch);
        U16(out, 0);
    }

    DWORD m_dwFlags { 0 };
    DWORD m_dwAttributes { 0x20 };
    DWORD m_nSize { 0 };
    ULONGLONG m_nWriteTime { 0 };
    std::vector<BYTE> m_idList;
    bool m_bLocal { false };
    bool m_bNetwork { false };
    bool m_bUnicodeInfo { false };
    std::string m_strBase;
    std::string m_strNet;
    std::string m_strSuffix;
    std::string m_strings[5];
    std::string m_strEnvironment;
};
