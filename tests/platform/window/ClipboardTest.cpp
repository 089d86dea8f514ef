#include "platform/window/Clipboard.h"

#include "platform/base/WinError.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowClass.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

HGLOBAL BlockOf(const void* pData, size_t nSize)
{
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, nSize);
    std::memcpy(GlobalLock(hMem), pData, nSize);
    GlobalUnlock(hMem);
    return hMem;
}

std::string BytesOf(HANDLE hMem)
{
    std::string bytes(static_cast<const char*>(GlobalLock(hMem)), GlobalSize(hMem));
    GlobalUnlock(hMem);
    return bytes;
}

class ClipboardTest : public ::testing::Test {
protected:
    void TearDown() override { CloseClipboard(); }
};

TEST_F(ClipboardTest, RegisteredFormatRoundTrip)
{
    UINT uFormat = RegisterClipboardFormat("Archivora Document List");
    EXPECT_GE(uFormat, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("archivora document list"), uFormat);
    EXPECT_NE(RegisterClipboardFormat("Another Format"), uFormat);
    char szName[64] {};
    EXPECT_EQ(GetClipboardFormatName(uFormat, szName, sizeof(szName)), 23);
    EXPECT_STREQ(szName, "Archivora Document List");
    EXPECT_EQ(GetClipboardFormatName(CF_TEXT, szName, sizeof(szName)), 0);

    const BYTE record[] = { 1, 2, 0, 3, 4 };
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL hMem = BlockOf(record, sizeof(record));
    EXPECT_EQ(SetClipboardData(uFormat, hMem), hMem);
    ASSERT_TRUE(CloseClipboard());

    EXPECT_TRUE(IsClipboardFormatAvailable(uFormat));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));
    EXPECT_EQ(CountClipboardFormats(), 1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE hRead = GetClipboardData(uFormat);
    ASSERT_NE(hRead, nullptr);
    EXPECT_EQ(BytesOf(hRead), std::string(reinterpret_cast<const char*>(record), sizeof(record)));
    EXPECT_EQ(GetClipboardData(CF_HDROP), nullptr);
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GlobalSize(hMem), 0u); // the clipboard freed its data
    EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST_F(ClipboardTest, TextFormatsStandInForEachOther)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const char szText[] = "Grüße 😀";
    SetClipboardData(CF_TEXT, BlockOf(szText, sizeof(szText)));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(EnumClipboardFormats(0), CF_TEXT);
    EXPECT_EQ(EnumClipboardFormats(CF_TEXT), CF_UNICODETEXT);
    EXPECT_EQ(EnumClipboardFormats(CF_UNICODETEXT), 0u);

    std::u16string wide = u"Grüße 😀";
    std::string expected(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * sizeof(char16_t));
    EXPECT_EQ(BytesOf(GetClipboardData(CF_UNICODETEXT)), expected);

    // And back: UTF-16 in, UTF-8 out.
    EmptyClipboard();
    std::u16string hello = u"Hallo, Welt";
    SetClipboardData(CF_UNICODETEXT, BlockOf(hello.c_str(), (hello.size() + 1) * sizeof(char16_t)));
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "Hallo, Welt");
    EXPECT_EQ(CountClipboardFormats(), 2); // the text made from it is listed, so it counts

    // New text replaces the text made from the old one.
    const char szNew[] = "new";
    SetClipboardData(CF_TEXT, BlockOf(szNew, sizeof(szNew)));
    EXPECT_EQ(CountClipboardFormats(), 2);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "new");
    EmptyClipboard();
}

TEST_F(ClipboardTest, OnlyTheOpenerReadsAndWrites)
{
    const char szText[] = "x";
    HGLOBAL hMem = BlockOf(szText, sizeof(szText));
    EXPECT_EQ(SetClipboardData(CF_TEXT, hMem), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);

    ASSERT_TRUE(OpenClipboard(nullptr));
    BOOL bOtherOpened = TRUE;
    DWORD dwOtherError = 0;
    std::thread other([&] {
        bOtherOpened = OpenClipboard(nullptr);
        dwOtherError = GetLastError();
    });
    other.join();
    EXPECT_FALSE(bOtherOpened);
    EXPECT_EQ(dwOtherError, ERROR_ACCESS_DENIED);
    EXPECT_EQ(SetClipboardData(0, hMem), nullptr);
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    EXPECT_TRUE(CloseClipboard());
    GlobalFree(hMem);
}

TEST_F(ClipboardTest, CountIsWhatEnumerationLists)
{
    // A program that sizes an array by the count and fills it by enumeration.
    const char szText[] = "report.odt";
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    SetClipboardData(CF_TEXT, BlockOf(szText, sizeof(szText)));
    for (bool bConvertedOnce : { false, true }) {
        if (bConvertedOnce) {
            ASSERT_NE(GetClipboardData(CF_UNICODETEXT), nullptr);
        }
        std::vector<UINT> formats(static_cast<size_t>(CountClipboardFormats()));
        size_t nFilled = 0;
        for (UINT uFormat = EnumClipboardFormats(0); uFormat; uFormat = EnumClipboardFormats(uFormat)) {
            ASSERT_LT(nFilled, formats.size()) << "more formats listed than counted";
            formats[nFilled++] = uFormat;
        }
        EXPECT_EQ(nFilled, formats.size());
        EXPECT_EQ(formats, (std::vector<UINT> { CF_TEXT, CF_UNICODETEXT }));
    }
}

TEST_F(ClipboardTest, EmptyingTellsThePreviousOwnerAndADestroyedOwnerIsForgotten)
{
    RegisterRecordingClass();
    MessageLog::Instance().Take();
    HWND hList = CreateRecordingWindow(WS_POPUP, 0, 0, 100, 100);
    HWND hEditor = CreateRecordingWindow(WS_POPUP, 0, 0, 100, 100);
    const char szText[] = "x";
    auto Copy = [&](HWND hOwner) {
        ASSERT_TRUE(OpenClipboard(hOwner));
        ASSERT_TRUE(EmptyClipboard());
        SetClipboardData(CF_TEXT, BlockOf(szText, sizeof(szText)));
        ASSERT_TRUE(CloseClipboard());
    };
    Copy(hList);
    EXPECT_EQ(GetClipboardOwner(), hList);
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_DESTROYCLIPBOARD }).empty()) << "nobody owned it before";
    Copy(hEditor);
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_DESTROYCLIPBOARD }),
        (std::vector<std::pair<HWND, UINT>> { { hList, WM_DESTROYCLIPBOARD } }));
    EXPECT_EQ(GetClipboardOwner(), hEditor);

    // The owner goes; what it put there stays.
    DestroyWindow(hEditor);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    Copy(nullptr);
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_DESTROYCLIPBOARD }).empty());
    DestroyWindow(hList);
}

} // namespace
