#include "platform/controls/HtmlUrl.h"

#include "platform/base/FileHandle.h"
#include "platform/base/KernelObject.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"

#include <algorithm>
#include <vector>

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && Utf8CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

// The length of a scheme of two or more characters before ':', else 0 (a
// drive letter is no scheme).
size_t SchemeLength(std::string_view url)
{
    size_t n = 0;
    while (n < url.size()
        && ((url[n] >= 'a' && url[n] <= 'z') || (url[n] >= 'A' && url[n] <= 'Z')
            || (n > 0 && ((url[n] >= '0' && url[n] <= '9') || url[n] == '+' || url[n] == '-' || url[n] == '.'))))
        ++n;
    return n >= 2 && n < url.size() && url[n] == ':' ? n : 0;
}

bool IsWindowsPath(std::string_view url)
{
    const bool bDrive
        = url.size() >= 2 && url[1] == ':' && ((url[0] >= 'a' && url[0] <= 'z') || (url[0] >= 'A' && url[0] <= 'Z'));
    return bDrive || url.starts_with("\\\\");
}

std::string PercentDecoded(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        auto hex = [](char ch) {
            return ch >= '0' && ch <= '9'                  ? ch - '0'
                : (ch | 0x20) >= 'a' && (ch | 0x20) <= 'f' ? (ch | 0x20) - 'a' + 10
                                                           : -1;
        };
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Joins a relative path to a folder, taking "." and ".." steps; sep is the separator written.
std::string JoinPath(std::string_view folder, std::string_view relative, char sep)
{
    std::string strFolder(folder);
    size_t nStart = 0;
    while (nStart <= relative.size()) {
        size_t nEnd = relative.find_first_of("/\\", nStart);
        if (nEnd == std::string_view::npos)
            nEnd = relative.size();
        const std::string_view step = relative.substr(nStart, nEnd - nStart);
        if (step == "..") {
            const size_t nCut = strFolder.find_last_of("/\\", strFolder.size() >= 2 ? strFolder.size() - 2 : 0);
            if (nCut != std::string::npos)
                strFolder.resize(nCut + 1);
        } else if (step != "." && !(step.empty() && nEnd < relative.size())) {
            strFolder += step;
            if (nEnd < relative.size())
                strFolder += sep;
        }
        nStart = nEnd + 1;
    }
    return strFolder;
}

} // namespace

bool IsAbsoluteHtmlUrl(std::string_view url)
{
    return SchemeLength(url) > 0 || IsWindowsPath(url);
}

EHtmlUrlKind HtmlUrlKind(std::string_view url)
{
    if (IsWindowsPath(url) || StartsWithNoCase(url, "file:"))
        return EHtmlUrlKind::File;
    if (StartsWithNoCase(url, "res://"))
        return EHtmlUrlKind::Resource;
    return EHtmlUrlKind::Other;
}

std::string ResolveHtmlUrl(std::string_view base, std::string_view url)
{
    if (base.empty() || IsAbsoluteHtmlUrl(url))
        return std::string(url);
    if (url.empty() || url.front() == '#')
        return std::string(base);
    // Everything up to the base's last separator is the folder the address is in.
    const EHtmlUrlKind eKind = HtmlUrlKind(base);
    size_t nCut = eKind == EHtmlUrlKind::Resource ? base.rfind('/') : base.find_last_of("/\\");
    if (eKind == EHtmlUrlKind::Resource && nCut < std::string_view("res://").size())
        return std::string(base) + "/" + std::string(url); // "res://<module>" names no resource yet
    const std::string_view folder = nCut == std::string_view::npos ? std::string_view() : base.substr(0, nCut + 1);
    const char sep = eKind == EHtmlUrlKind::File && IsWindowsPath(base) ? '\\' : '/';
    if (eKind == EHtmlUrlKind::Resource)
        return std::string(folder) + std::string(url);
    return JoinPath(folder, url, sep);
}

std::string HtmlUrlFilePath(std::string_view url)
{
    if (IsWindowsPath(url))
        return std::string(url);
    if (!StartsWithNoCase(url, "file:"))
        return {};
    std::string_view path = url.substr(5);
    while (path.starts_with("/") && path.size() > 1 && !IsWindowsPath(path))
        path.remove_prefix(1);
    std::string strPath = PercentDecoded(path);
    if (!IsWindowsPath(strPath))
        return {};
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    return strPath;
}

std::optional<std::string> ReadHtmlUrl(std::string_view url, size_t nMaxBytes)
{
    switch (HtmlUrlKind(url)) {
    case EHtmlUrlKind::Resource: {
        const std::string strName = PercentDecoded(url.substr(url.rfind('/') + 1));
        HMODULE hModule = AfxGetResourceHandle();
        HRSRC hResource = FindResource(hModule, strName.c_str(), RT_HTML);
        if (!hResource)
            return std::nullopt;
        const DWORD cbData = SizeofResource(hModule, hResource);
        const void* pData = LockResource(LoadResource(hModule, hResource));
        if (!pData || cbData > nMaxBytes)
            return std::nullopt;
        return std::string(static_cast<const char*>(pData), cbData);
    }
    case EHtmlUrlKind::File: {
        const std::string strPath = HtmlUrlFilePath(url);
        if (strPath.empty())
            return std::nullopt;
        HANDLE hFile = CreateFile(
            strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return std::nullopt;
        // One byte more than allowed tells a file that is too large.
        std::string strData(nMaxBytes + 1, '\0');
        DWORD cbRead = 0, cbTotal = 0;
        while (cbTotal < strData.size()
            && ReadFile(hFile, strData.data() + cbTotal, static_cast<DWORD>(strData.size() - cbTotal), &cbRead, nullptr)
            && cbRead > 0)
            cbTotal += cbRead;
        CloseHandle(hFile);
        if (cbTotal > nMaxBytes)
            return std::nullopt;
        strData.resize(cbTotal);
        return strData;
    }
    case EHtmlUrlKind::Other:
        break;
    }
    return std::nullopt;
}
