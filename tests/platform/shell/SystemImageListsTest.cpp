#include "platform/shell/SystemImageLists.h"

#include "tests/platform/gdi/GdiTestCanvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

namespace {

constexpr COLORREF BACKGROUND = RGB(255, 0, 0);

// The pixels of image i of a list drawn transparently over BACKGROUND.
std::vector<COLORREF> Pixels(HIMAGELIST himl, int i)
{
    int cx = 0;
    int cy = 0;
    ImageList_GetIconSize(himl, &cx, &cy);
    CTestCanvas canvas(cx, cy);
    HBRUSH hBrush = CreateSolidBrush(BACKGROUND);
    RECT rc { 0, 0, cx, cy };
    FillRect(canvas.Dc(), &rc, hBrush);
    DeleteObject(hBrush);
    EXPECT_TRUE(ImageList_Draw(himl, i, canvas.Dc(), 0, 0, ILD_TRANSPARENT));
    std::vector<COLORREF> pixels;
    canvas.ForEach([&](int, int, COLORREF cr) { pixels.push_back(cr); });
    return pixels;
}

TEST(SystemImageListsTest, SmallAndLargeListsHoldEveryIconAtTheirSize)
{
    HIMAGELIST hSmall = GetShellImageList(TRUE);
    HIMAGELIST hLarge = GetShellImageList(FALSE);
    ASSERT_NE(hSmall, nullptr);
    ASSERT_NE(hLarge, nullptr);
    EXPECT_NE(hSmall, hLarge);
    EXPECT_EQ(GetShellImageList(TRUE), hSmall) << "the lists are made once for the process";
    EXPECT_EQ(GetShellImageList(FALSE), hLarge);

    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(hSmall, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    ASSERT_TRUE(ImageList_GetIconSize(hLarge, &cx, &cy));
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);
    EXPECT_EQ(ImageList_GetImageCount(hSmall), SYSICON_COUNT);
    EXPECT_EQ(ImageList_GetImageCount(hLarge), SYSICON_COUNT);
}

TEST(SystemImageListsTest, EveryIconIsDistinctAndLetsTheBackgroundShowAroundIt)
{
    for (BOOL bSmall : { TRUE, FALSE }) {
        HIMAGELIST himl = GetShellImageList(bSmall);
        std::vector<std::vector<COLORREF>> icons;
        for (int i = 0; i < SYSICON_COUNT; ++i) {
            icons.push_back(Pixels(himl, i));
            size_t nBackground = std::count(icons.back().begin(), icons.back().end(), BACKGROUND);
            EXPECT_GT(nBackground, 0U) << "icon " << i << " has no transparent pixel";
            EXPECT_LT(nBackground, icons.back().size() * 3 / 4) << "icon " << i << " is mostly empty";
            for (int j = 0; j < i; ++j)
                EXPECT_NE(icons[i], icons[j]) << "icons " << j << " and " << i << " look the same";
        }
    }
}

TEST(SystemImageListsTest, ThreadsMeetingTheFirstUseShareOneList)
{
    std::vector<HIMAGELIST> seen(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = GetShellImageList(TRUE); });
    for (std::thread& thread : threads)
        thread.join();
    for (HIMAGELIST himl : seen)
        EXPECT_EQ(himl, seen[0]);
    EXPECT_EQ(ImageList_GetImageCount(seen[0]), SYSICON_COUNT);
}

TEST(SystemImageListsTest, FileTypesGoByTheLastExtensionWithoutRegardToCase)
{
    struct Case {
        const char* pszName;
        SystemIcon eIcon;
        const char* pszTypeName;
    };
    const Case cases[] = {
        { "report.txt", SYSICON_TEXT, "Text Document" },
        { "C:\\Work\\REPORT.TXT", SYSICON_TEXT, "Text Document" },
        { "holiday.JPG", SYSICON_PICTURE, "JPEG Image" },
        { "backup.tar.gz", SYSICON_ARCHIVE, "Gzip Archive" },
        { "setup.exe", SYSICON_PROGRAM, "Application" },
        { "archivora.kdmail", SYSICON_MAIL, "Mail Message" },
        { "archivora.kdcat", SYSICON_CATALOG_ITEM, "Catalog Item" },
        { "notes.qqzz", SYSICON_DOCUMENT, "QQZZ File" },
        { "C:\\dotted.folder\\README", SYSICON_DOCUMENT, "File" },
        { "", SYSICON_DOCUMENT, "File" },
    };
    for (const Case& c : cases) {
        CShellFileType type = GetShellFileType(c.pszName);
        EXPECT_EQ(type.eIcon, c.eIcon) << c.pszName;
        EXPECT_EQ(type.strTypeName, c.pszTypeName) << c.pszName;
    }
    EXPECT_EQ(GetShellFileType(nullptr).eIcon, SYSICON_DOCUMENT);
}

TEST(SystemImageListsTest, TypesTheProgramDoesNotListComeFromTheMimeDatabase)
{
    if (!std::filesystem::exists("/usr/share/mime/mime.cache"))
        GTEST_SKIP() << "no shared MIME database on this machine";
    CShellFileType source = GetShellFileType("main.cpp");
    EXPECT_EQ(source.eIcon, SYSICON_TEXT) << "source code is a kind of text";
    EXPECT_NE(source.strTypeName, "CPP File");
    EXPECT_EQ(GetShellFileType("movie.webp").eIcon, SYSICON_PICTURE);
}

} // namespace
