#include "platform/controls/AnimateControl.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Timers.h"
#include "tests/platform/controls/CommonControlTestSupport.h"
#include "tests/support/TempFolder.h"

#include <fstream>
#include <iterator>

namespace {

constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr COLORREF FRAME_COLOURS[] = { RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200) };
constexpr int FRAME = 8;         // pixels a side
constexpr UINT RATE = 100;       // milliseconds a frame
constexpr WORD CLIP = 395;       // three frames, a magenta corner in each
constexpr WORD DAMAGED = 396;    // a sound header over pixels that do not decode
constexpr WORD WRONG_SIZE = 397; // a header that promises more frames than the strip holds

// A module with the clips above, built from a strip drawn here.
class AnimateControlTest : public CommonControlTest {
protected:
    void SetUp() override
    {
        CommonControlTest::SetUp();
        const std::vector<BYTE> strip = DrawStrip();
        AnimationClipTemplate clip { FRAME, FRAME, 3, RATE, ANIMATION_CLIP_TRANSPARENT_COLOUR, MAGENTA, strip };
        std::vector<BYTE> damaged = strip;
        for (size_t n = FirstImageData(damaged); n < damaged.size() - 12; ++n)
            damaged[n] = 0xA5;
        AnimationClipTemplate damagedClip = clip;
        damagedClip.strip = damaged;
        AnimationClipTemplate wrongSize = clip;
        wrongSize.nFrameCount = 4;
        const ResourceKey avi = ResourceKey::FromName(RESOURCE_TYPE_NAME_AVI);
        const std::vector<BYTE> module = WriteResourceModule({
            { avi, ResourceKey::FromId(CLIP), WriteAnimationClip(clip) },
            { avi, ResourceKey::FromId(DAMAGED), WriteAnimationClip(damagedClip) },
            { avi, ResourceKey::FromId(WRONG_SIZE), WriteAnimationClip(wrongSize) },
        });
        m_temp.WriteFile("clips.dll", std::string_view(reinterpret_cast<const char*>(module.data()), module.size()));
        m_hModule = LoadLibrary(ProgramPathFromHostPath((m_temp / "clips.dll").string()).c_str());
        ASSERT_NE(m_hModule, nullptr);
    }
    void TearDown() override
    {
        CommonControlTest::TearDown();
        FreeLibrary(m_hModule);
    }

    std::vector<BYTE> DrawStrip()
    {
        HDC hdc = CreateCompatibleDC(nullptr);
        HBITMAP hbm = CreateBitmap(3 * FRAME, FRAME, 1, 32, nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        for (int i = 0; i < 3; ++i) {
            const RECT rcFrame { i * FRAME, 0, (i + 1) * FRAME, FRAME };
            const RECT rcCorner { i * FRAME, 0, i * FRAME + 2, 2 };
            HBRUSH hFrame = CreateSolidBrush(FRAME_COLOURS[i]);
            HBRUSH hMagenta = CreateSolidBrush(MAGENTA);
            FillRect(hdc, &rcFrame, hFrame);
            FillRect(hdc, &rcCorner, hMagenta);
            DeleteObject(hFrame);
            DeleteObject(hMagenta);
        }
        EXPECT_TRUE(SaveDcAsPng(hdc, ProgramPathFromHostPath((m_temp / "strip.png").string()).c_str()));
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        DeleteObject(hbm);
        std::ifstream file(m_temp / "strip.png", std::ios::binary);
        return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
    }

    // Where the first image data chunk's bytes begin.
    static size_t FirstImageData(const std::vector<BYTE>& png)
    {
        const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
        return bytes.find("IDAT") + 4;
    }

    HWND CreateAnimation(DWORD dwStyle, int cx = 40, int cy = 30)
    {
        return CreateControl(ANIMATE_CLASS, "", dwStyle, 10, 10, cx, cy, 1201);
    }
    BOOL Open(HWND hAnimate, WORD nClip)
    {
        return static_cast<BOOL>(SendMessage(
            hAnimate, ACM_OPEN, reinterpret_cast<WPARAM>(m_hModule), reinterpret_cast<LPARAM>(MAKEINTRESOURCE(nClip))));
    }
    static BOOL Play(HWND hAnimate, UINT nPasses, WORD nFrom = 0, WORD nTo = 0xFFFF)
    {
        return static_cast<BOOL>(SendMessage(hAnimate, ACM_PLAY, nPasses, MAKELONG(nFrom, nTo)));
    }
    // The frame shown, by its colour at a client point; -1 for none of them.
    static int FrameShown(HWND hAnimate, int x = 4, int y = 4)
    {
        PumpUntilIdle();
        const COLORREF cr = WindowPixel(hAnimate, x, y);
        for (int i = 0; i < 3; ++i) {
            if (cr == FRAME_COLOURS[i])
                return i;
        }
        return -1;
    }
    void Tick(UINT nMilliseconds)
    {
        m_clock.Advance(nMilliseconds);
        PumpUntilIdle();
    }

    TempFolder m_temp;
    HMODULE m_hModule { nullptr };
};

TEST_F(AnimateControlTest, FramesAdvanceOnTheClockForEachPass)
{
    HWND hAnimate = CreateAnimation(0);
    ASSERT_TRUE(Open(hAnimate, CLIP));
    RECT rc {};
    GetClientRect(hAnimate, &rc);
    EXPECT_EQ(rc.right, FRAME) << "without ACS_CENTER the control takes the frame's size";
    EXPECT_EQ(FrameShown(hAnimate), 0);

    ASSERT_TRUE(Play(hAnimate, 2));
    Tick(RATE - 1);
    EXPECT_EQ(FrameShown(hAnimate), 0);
    const int expected[] = { 1, 2, 0, 1, 2, 2 }; // two passes, then the last frame stays
    for (int nFrame : expected) {
        Tick(RATE);
        EXPECT_EQ(FrameShown(hAnimate), nFrame);
    }
    EXPECT_FALSE(SendMessage(hAnimate, ACM_ISPLAYING, 0, 0));

    // Endless from frame 1 to frame 2; a stop keeps the frame, and the next
    // play starts again at its first frame.
    ASSERT_TRUE(Play(hAnimate, static_cast<UINT>(-1), 1, 2));
    Tick(3 * RATE);
    EXPECT_EQ(FrameShown(hAnimate), 2);
    EXPECT_TRUE(SendMessage(hAnimate, ACM_STOP, 0, 0));
    Tick(5 * RATE);
    EXPECT_EQ(FrameShown(hAnimate), 2);
    ASSERT_TRUE(Play(hAnimate, static_cast<UINT>(-1), 1, 2));
    EXPECT_EQ(FrameShown(hAnimate), 1);

    EXPECT_FALSE(Play(hAnimate, 1, 2, 1));
    EXPECT_FALSE(Play(hAnimate, 1, 0, 3)) << "past the last frame";
    EXPECT_TRUE(SendMessage(hAnimate, ACM_OPEN, 0, 0)) << "NULL closes";
    EXPECT_FALSE(Play(hAnimate, 1));
    EXPECT_EQ(FrameShown(hAnimate), -1);
}

TEST_F(AnimateControlTest, DamagedOrMissingClipsAreRefusedAndDrawNothing)
{
    HWND hAnimate = CreateAnimation(ACS_AUTOPLAY);
    ASSERT_TRUE(Open(hAnimate, CLIP));
    EXPECT_TRUE(SendMessage(hAnimate, ACM_ISPLAYING, 0, 0)) << "ACS_AUTOPLAY";
    for (WORD nClip : { DAMAGED, WRONG_SIZE, WORD(999) }) {
        EXPECT_FALSE(Open(hAnimate, nClip)) << nClip;
        EXPECT_FALSE(SendMessage(hAnimate, ACM_ISPLAYING, 0, 0));
        EXPECT_FALSE(Play(hAnimate, 1));
        EXPECT_EQ(FrameShown(hAnimate), -1) << "the clip open before is closed";
        ASSERT_TRUE(Open(hAnimate, CLIP));
    }
}

TEST_F(AnimateControlTest, TransparentPixelsShowTheBackground)
{
    const COLORREF PARENT_COLOUR = RGB(10, 20, 30);
    HBRUSH hParentBrush = CreateSolidBrush(PARENT_COLOUR);
    MessageLog::Instance().handler = [&](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        if (hWnd != m_hParent || uMsg != WM_CTLCOLORSTATIC)
            return false;
        *plResult = reinterpret_cast<LRESULT>(hParentBrush);
        return true;
    };
    // Centred in a larger control: the frame's corner is at (16, 11).
    HWND hTransparent = CreateAnimation(ACS_CENTER | ACS_TRANSPARENT);
    ASSERT_TRUE(Open(hTransparent, CLIP));
    RECT rc {};
    GetClientRect(hTransparent, &rc);
    EXPECT_EQ(rc.right, 40) << "ACS_CENTER keeps the control's size";
    EXPECT_EQ(FrameShown(hTransparent, 20, 15), 0);
    EXPECT_EQ(WindowPixel(hTransparent, 16, 11), PARENT_COLOUR) << "a transparent pixel";
    EXPECT_EQ(WindowPixel(hTransparent, 2, 2), PARENT_COLOUR) << "outside the frame";
    DestroyWindow(hTransparent);

    HWND hOpaque = CreateAnimation(0);
    ASSERT_TRUE(Open(hOpaque, CLIP));
    PumpUntilIdle();
    EXPECT_EQ(WindowPixel(hOpaque, 0, 0), GetSysColor(COLOR_3DFACE));
    DestroyWindow(hOpaque);
    DeleteObject(hParentBrush);
}

} // namespace
