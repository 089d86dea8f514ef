#include "dialogs/documents/FormatFileSize.h"

namespace {

constexpr std::int64_t KILOBYTE = 1024;

} // namespace

CString FormatFileSize(std::int64_t nBytes)
{
    CString strSize;
    const long long nShown = nBytes;
    if (nBytes <= KILOBYTE) {
        strSize.Format("%lld bytes", nShown);
        return strSize;
    }
    // Whole kilobytes, so the kilobyte figure always ends in ".00".
    const std::int64_t nKilobytes = nBytes / KILOBYTE;
    if (nKilobytes <= KILOBYTE)
        strSize.Format("%.2f KB (%lld bytes) ", static_cast<double>(nKilobytes), nShown);
    else
        strSize.Format("%.2f MB (%lld bytes) ", static_cast<double>(nKilobytes) / KILOBYTE, nShown);
    return strSize;
}
