#include "platform/shell/SystemImageLists.h"

#include "platform/shell/SystemIconArt.h"

#include "platform/base/TextFunctions.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <string_view>

#include <gio/gio.h>

namespace {

/*************************************************************************
 * The lists
 *************************************************************************/

constexpr int SMALL_ICON_SIZE = 16;
constexpr int LARGE_ICON_SIZE = 32;

// A list holding every icon of SystemIcon, in order, at one size.
HIMAGELIST MakeList(int nSize)
{
    HIMAGELIST himl = ImageList_Create(nSize, nSize, ILC_COLOR32 | ILC_MASK, SYSICON_COUNT, 4);
    if (!himl)
        return nullptr;
    ImageList_SetBkColor(himl, CLR_NONE);
    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP hBitmap = CreateBitmap(nSize, nSize, 1, 32, nullptr);
    HBRUSH hClear = CreateSolidBrush(ICON_ART_TRANSPARENT);
    bool bComplete = hdc && hBitmap && hClear;
    for (int i = 0; bComplete && i < SYSICON_COUNT; ++i) {
        HGDIOBJ hOld = SelectObject(hdc, hBitmap);
        RECT rc { 0, 0, nSize, nSize };
        FillRect(hdc, &rc, hClear);
        DrawSystemIconArt(hdc, static_cast<SystemIcon>(i), nSize / SMALL_ICON_SIZE);
        SelectObject(hdc, hOld);
        bComplete = ImageList_AddMasked(himl, hBitmap, ICON_ART_TRANSPARENT) == i;
    }
    DeleteObject(hClear);
    DeleteObject(hBitmap);
    DeleteDC(hdc);
    if (!bComplete) {
        ImageList_Destroy(himl);
        return nullptr;
    }
    return himl;
}

struct CShellLists {
    std::mutex mutex;
    HIMAGELIST hSmall { nullptr };
    HIMAGELIST hLarge { nullptr };
};

CShellLists& Lists()
{
    // Never destroyed: the lists are handed out for the life of the process.
    static auto* pLists = new CShellLists;
    return *pLists;
}

/*************************************************************************
 * File types
 *************************************************************************/

struct CKnownType {
    std::string_view strExtension; // lower case, without the dot
    SystemIcon eIcon;
    std::string_view strTypeName;
};

// clang-format off
constexpr std::array KNOWN_TYPES = {
    CKnownType { "7z",     SYSICON_ARCHIVE,      "7-Zip Archive" },
    CKnownType { "bat",    SYSICON_PROGRAM,      "Batch File" },
    CKnownType { "bmp",    SYSICON_PICTURE,      "Bitmap Image" },
    CKnownType { "bz2",    SYSICON_ARCHIVE,      "Bzip2 Archive" },
    CKnownType { "cmd",    SYSICON_PROGRAM,      "Command Script" },
    CKnownType { "com",    SYSICON_PROGRAM,      "MS-DOS Application" },
    CKnownType { "csv",    SYSICON_TEXT,         "CSV Document" },
    CKnownType { "desktop", SYSICON_LAUNCHER,    "Launcher" },
    CKnownType { "eml",    SYSICON_MAIL,         "Mail Message" },
    CKnownType { "exe",    SYSICON_PROGRAM,      "Application" },
    CKnownType { "gif",    SYSICON_PICTURE,      "GIF Image" },
    CKnownType { "gz",     SYSICON_ARCHIVE,      "Gzip Archive" },
    CKnownType { "htm",    SYSICON_TEXT,         "HTML Document" },
    CKnownType { "html",   SYSICON_TEXT,         "HTML Document" },
    CKnownType { "ico",    SYSICON_PICTURE,      "Icon" },
    CKnownType { "ini",    SYSICON_TEXT,         "Configuration Settings" },
    CKnownType { "jpeg",   SYSICON_PICTURE,      "JPEG Image" },
    CKnownType { "jpg",    SYSICON_PICTURE,      "JPEG Image" },
    CKnownType { "kdcat",  SYSICON_CATALOG_ITEM, "Catalog Item" },
    CKnownType { "kdmail", SYSICON_MAIL,         "Mail Message" },
    CKnownType { "lnk",    SYSICON_LAUNCHER,     "Shortcut" },
    CKnownType { "log",    SYSICON_TEXT,         "Text Document" },
    CKnownType { "msg",    SYSICON_MAIL,         "Mail Message" },
    CKnownType { "png",    SYSICON_PICTURE,      "PNG Image" },
    CKnownType { "rar",    SYSICON_ARCHIVE,      "RAR Archive" },
    CKnownType { "sh",     SYSICON_PROGRAM,      "Shell Script" },
    CKnownType { "tar",    SYSICON_ARCHIVE,      "Tar Archive" },
    CKnownType { "tgz",    SYSICON_ARCHIVE,      "Gzip Archive" },
    CKnownType { "tif",    SYSICON_PICTURE,      "TIFF Image" },
    CKnownType { "tiff",   SYSICON_PICTURE,      "TIFF Image" },
    CKnownType { "txt",    SYSICON_TEXT,         "Text Document" },
    CKnownType { "xml",    SYSICON_TEXT,         "XML Document" },
    CKnownType { "xz",     SYSICON_ARCHIVE,      "XZ Archive" },
    CKnownType { "zip",    SYSICON_ARCHIVE,      "ZIP Archive" },
};
// clang-format on

static_assert(std::is_sorted(KNOWN_TYPES.begin(), KNOWN_TYPES.end(),
    [](const CKnownType& a, const CKnownType& b) { return a.strExtension < b.strExtension; }));

const CKnownType* FindKnownType(std::string_view strExtension)
{
    auto it = std::lower_bound(KNOWN_TYPES.begin(), KNOWN_TYPES.end(), strExtension,
        [](const CKnownType& type, std::string_view str) { return type.strExtension < str; });
    return it != KNOWN_TYPES.end() && it->strExtension == strExtension ? &*it : nullptr;
}

// Media families of the MIME database, tested in order: scripts are text too,
// so programs come before text.
struct CMediaFamily {
    const char* pszParent;
    SystemIcon eIcon;
};
constexpr std::array MEDIA_FAMILIES = {
    CMediaFamily { "application/x-executable", SYSICON_PROGRAM },
    CMediaFamily { "application/x-shellscript", SYSICON_PROGRAM },
    CMediaFamily { "application/x-ms-dos-executable", SYSICON_PROGRAM },
    CMediaFamily { "message/rfc822", SYSICON_MAIL },
    CMediaFamily { "application/zip", SYSICON_ARCHIVE },
    CMediaFamily { "application/x-tar", SYSICON_ARCHIVE },
    CMediaFamily { "application/x-compressed-tar", SYSICON_ARCHIVE },
    CMediaFamily { "application/gzip", SYSICON_ARCHIVE },
    CMediaFamily { "application/x-7z-compressed", SYSICON_ARCHIVE },
    CMediaFamily { "text/plain", SYSICON_TEXT },
};

// The icon and description the MIME database gives a file name; false when it
// does not know the name's type.
bool LookUpMediaType(const std::string& strName, CShellFileType* pType)
{
    gboolean bUncertain = FALSE;
    gchar* pszType = g_content_type_guess(strName.c_str(), nullptr, 0, &bUncertain);
    if (!pszType)
        return false;
    bool bKnown = !bUncertain && !g_content_type_is_unknown(pszType);
    if (bKnown) {
        pType->eIcon = SYSICON_DOCUMENT;
        if (g_str_has_prefix(pszType, "image/")) {
            pType->eIcon = SYSICON_PICTURE;
        } else {
            for (const CMediaFamily& family : MEDIA_FAMILIES) {
                if (g_content_type_is_a(pszType, family.pszParent)) {
                    pType->eIcon = family.eIcon;
                    break;
                }
            }
        }
        if (gchar* pszDescription = g_content_type_get_description(pszType)) {
            pType->strTypeName = pszDescription;
            g_free(pszDescription);
        }
    }
    g_free(pszType);
    return bKnown && !pType->strTypeName.empty();
}

} // namespace

HIMAGELIST GetShellImageList(BOOL bSmall)
{
    CShellLists& lists = Lists();
    std::lock_guard lock(lists.mutex);
    HIMAGELIST& himl = bSmall ? lists.hSmall : lists.hLarge;
    if (!himl)
        himl = MakeList(bSmall ? SMALL_ICON_SIZE : LARGE_ICON_SIZE);
    return himl;
}

CShellFileType GetShellFileType(LPCTSTR pszName)
{
    std::string_view strName = pszName ? pszName : "";
    size_t nSlash = strName.find_last_of("\\/");
    if (nSlash != std::string_view::npos)
        strName.remove_prefix(nSlash + 1);
    size_t nDot = strName.rfind('.');
    std::string strExtension;
    if (nDot != std::string_view::npos)
        strExtension = strName.substr(nDot + 1);
    std::string strLower = Utf8ToLower(strExtension);

    if (const CKnownType* pKnown = FindKnownType(strLower))
        return CShellFileType { pKnown->eIcon, std::string(pKnown->strTypeName) };
    CShellFileType type { SYSICON_DOCUMENT, {} };
    if (!strLower.empty() && LookUpMediaType("file." + strLower, &type))
        return type;
    std::string strUpper = Utf8ToUpper(strExtension);
    return CShellFileType { SYSICON_DOCUMENT, strUpper.empty() ? "File" : strUpper + " File" };
}
