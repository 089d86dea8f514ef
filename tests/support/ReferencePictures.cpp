#include "tests/support/ReferencePictures.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/testing/TestDriver.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/TestData.h"

#include <algorithm>
#include <cstdlib>

namespace {

int ChannelDistance(COLORREF a, COLORREF b)
{
    return std::max({ std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
        std::abs(GetBValue(a) - GetBValue(b)) });
}

void SavePicture(HBITMAP hbm, const std::filesystem::path& path)
{
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    SaveDcAsPng(hdc, ProgramPathFromHostPath(path.string()).c_str());
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
}

} // namespace

HMODULE LoadScriptModule(const std::filesystem::path& script, const TempFolder& folder)
{
    const std::filesystem::path module = folder / (script.filename().string() + ".dll");
    const std::string strCommand = "'" + (BinaryRoot() / "tools" / "archivora_rc").string() + "' -o '" + module.string()
        + "' '" + script.string() + "'";
    if (std::system(strCommand.c_str()) != 0)
        return nullptr;
    return LoadLibrary(ProgramPathFromHostPath(module.string()).c_str());
}

std::optional<std::string> PictureDifference(HBITMAP hbmPicture, const std::filesystem::path& reference)
{
    constexpr int CHANNEL_TOLERANCE = 48;
    constexpr int MAX_DIFFERING_PIXELS = 4;
    CCapturedImage actual(hbmPicture);
    BITMAP bmActual {};
    GetObject(hbmPicture, sizeof(bmActual), &bmActual);
    HBITMAP hbmReference = LoadPictureFile(ProgramPathFromHostPath(reference.string()).c_str());
    BITMAP bm {};
    if (!hbmReference || !GetObject(hbmReference, sizeof(bm), &bm)) {
        if (hbmReference)
            DeleteObject(hbmReference);
        return "no reference picture " + reference.string();
    }
    if (bm.bmWidth != bmActual.bmWidth || bm.bmHeight != bmActual.bmHeight) {
        DeleteObject(hbmReference);
        return "the picture is " + std::to_string(bmActual.bmWidth) + "x" + std::to_string(bmActual.bmHeight)
            + ", the reference " + std::to_string(bm.bmWidth) + "x" + std::to_string(bm.bmHeight);
    }
    CCapturedImage expected(hbmReference);
    int nDiffering = 0;
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x)
            nDiffering += ChannelDistance(actual.At(x, y), expected.At(x, y)) > CHANNEL_TOLERANCE;
    // A few pixels of text may change their shade; a control drawn wrong may not.
    if (nDiffering > MAX_DIFFERING_PIXELS)
        return std::to_string(nDiffering) + " pixels differ from " + reference.string();
    return std::nullopt;
}

std::optional<std::string> PictureMismatch(
    HBITMAP hbmPicture, const std::filesystem::path& reference, TempFolder& folder)
{
    const std::filesystem::path actualPath = folder / reference.filename();
    SavePicture(hbmPicture, actualPath); // kept only on a mismatch
    std::optional<std::string> mismatch = PictureDifference(hbmPicture, reference);
    if (mismatch) {
        folder.Keep();
        *mismatch += "; the picture taken is " + actualPath.string();
    }
    return mismatch;
}

std::optional<std::string> SettledPictureMismatch(CTestDriver& driver, const std::function<HBITMAP()>& capture,
    const std::filesystem::path& reference, TempFolder& folder)
{
    std::optional<std::string> difference;
    const BOOL bMatched = driver.PumpUntil([&] {
        HBITMAP hbm = capture();
        difference
            = hbm ? PictureDifference(hbm, reference) : std::optional<std::string>("there is no picture to take");
        return !difference;
    });
    if (bMatched)
        return std::nullopt;
    HBITMAP hbm = capture();
    return hbm ? PictureMismatch(hbm, reference, folder) : difference;
}
