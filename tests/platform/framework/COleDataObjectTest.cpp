#include "platform/framework/COleDataObject.h"

#include "platform/framework/COleDataSource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

HGLOBAL BlockOf(const std::string& bytes)
{
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(hMem), bytes.data(), bytes.size());
    GlobalUnlock(hMem);
    return hMem;
}

std::string BytesOf(HGLOBAL hMem)
{
    std::string bytes(static_cast<const char*>(GlobalLock(hMem)), GlobalSize(hMem));
    GlobalUnlock(hMem);
    return bytes;
}

TEST(COleDataObjectTest, DataSourceToClipboardToDataObject)
{
    auto cfRecords = static_cast<CLIPFORMAT>(RegisterClipboardFormat("Archivora Records"));
    auto* pSource = new COleDataSource;
    HGLOBAL hReplaced = BlockOf("old");
    pSource->CacheGlobalData(cfRecords, hReplaced);
    pSource->CacheGlobalData(cfRecords, BlockOf(std::string("r1\0r2", 5)));
    EXPECT_EQ(GlobalSize(hReplaced), 0u); // the source freed what it replaced
    pSource->CacheGlobalData(CF_TEXT, BlockOf(std::string("two records", 12)));
    pSource->SetClipboard(); // the clipboard takes the data and the object

    COleDataObject data;
    EXPECT_FALSE(data.IsDataAvailable(cfRecords)); // not attached yet
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(cfRecords));
    EXPECT_TRUE(data.IsDataAvailable(CF_UNICODETEXT)); // made from the text
    EXPECT_FALSE(data.IsDataAvailable(CF_HDROP));

    HGLOBAL hCopy = data.GetGlobalData(cfRecords);
    ASSERT_NE(hCopy, nullptr);
    EXPECT_EQ(BytesOf(hCopy), std::string("r1\0r2", 5));
    GlobalFree(hCopy); // the copy is the caller's; the clipboard still has its own
    HGLOBAL hAgain = data.GetGlobalData(cfRecords);
    EXPECT_NE(hAgain, nullptr);
    GlobalFree(hAgain);
    EXPECT_EQ(data.GetGlobalData(CF_HDROP), nullptr);

    data.Release();
    EXPECT_EQ(data.GetGlobalData(cfRecords), nullptr);
}

TEST(COleDataObjectTest, AnEmptyClipboardCannotBeAttached)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    COleDataObject data;
    EXPECT_FALSE(data.AttachClipboard());
}

} // namespace
