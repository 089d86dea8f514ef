// The clipboard shared with another program on the X server: text and the
// program's registered format go both ways (large ones in chunks), an owner
// that never answers costs a bounded wait, and the desktop's clipboard never
// keeps or loses what the program did not mean it to.

#include "platform/display/X11Display.h"

#include "platform/window/Clipboard.h"
#include "tests/platform/display/X11SelectionPeer.h"
#include "tests/platform/display/X11TestSupport.h"

#include <cstring>

namespace {

using CData = CSelectionPeer::CData;

CData Bytes(const std::string& strType, const std::string& strBytes)
{
    return CData { strType, std::vector<uint8_t>(strBytes.begin(), strBytes.end()), false };
}

class X11ClipboardTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        m_pPeer = std::make_unique<CSelectionPeer>(m_server.Name());
        ASSERT_TRUE(m_pPeer->IsOpen());
        m_uRecordFormat = RegisterClipboardFormat("Archivora CBFormat");
    }

    void TearDown() override
    {
        CloseClipboard();
        X11Test::TearDown();
        m_pPeer.reset();
    }

    // Replaces the program's clipboard with these formats, as a copy does.
    void Copy(std::initializer_list<std::pair<UINT, std::string>> formats)
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        for (const auto& [uFormat, strBytes] : formats) {
            HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, strBytes.size());
            std::memcpy(GlobalLock(hMem), strBytes.data(), strBytes.size());
            GlobalUnlock(hMem);
            SetClipboardData(uFormat, hMem);
        }
        ASSERT_TRUE(CloseClipboard());
    }

    // The program's clipboard data of the format, as bytes; nothing for NULL.
    std::optional<std::string> Paste(UINT uFormat)
    {
        if (!OpenClipboard(nullptr))
            return std::nullopt;
        HANDLE hMem = GetClipboardData(uFormat);
        std::optional<std::string> bytes;
        if (hMem) {
            bytes = std::string(static_cast<const char*>(GlobalLock(hMem)), GlobalSize(hMem));
            GlobalUnlock(hMem);
        }
        CloseClipboard();
        return bytes;
    }

    // Text as CF_TEXT keeps it: up to its NUL.
    std::optional<std::string> PasteText()
    {
        std::optional<std::string> bytes = Paste(CF_TEXT);
        if (bytes)
            bytes->resize(strnlen(bytes->c_str(), bytes->size()));
        return bytes;
    }

    // What the peer read from the program, once the program answered.
    template<typename T> T Answer(std::future<T>& answer)
    {
        EXPECT_TRUE(PumpUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            std::chrono::seconds(10)));
        return answer.get();
    }

    // Waits until the program sees the peer's formats.
    bool SeesPeersFormat(UINT uFormat)
    {
        return PumpUntil([&] { return IsClipboardFormatAvailable(uFormat) != FALSE; });
    }

    std::unique_ptr<CSelectionPeer> m_pPeer;
    UINT m_uRecordFormat { 0 };
};

}

TEST_F(X11ClipboardTest, TextGoesBothWaysWithItsLineEndsConverted)
{
    Copy({ { CF_TEXT, std::string("one\r\ntwo \xC3\xA9 \xE2\x82\xAC") + '\0' } });
    auto targets = m_pPeer->Targets();
    std::vector<std::string> names = Answer(targets);
    for (const char* pszTarget :
        { "TARGETS", "TIMESTAMP", "SAVE_TARGETS", "UTF8_STRING", "text/plain;charset=utf-8", "TEXT", "STRING" })
        EXPECT_NE(std::find(names.begin(), names.end(), pszTarget), names.end()) << pszTarget;
    EXPECT_EQ(std::find(names.begin(), names.end(), "Archivora CBFormat"), names.end());

    auto utf8 = m_pPeer->Read("UTF8_STRING");
    std::optional<CData> text = Answer(utf8);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->strType, "UTF8_STRING");
    EXPECT_EQ(std::string(text->bytes.begin(), text->bytes.end()), "one\ntwo \xC3\xA9 \xE2\x82\xAC");
    auto latin1 = m_pPeer->Read("STRING");
    text = Answer(latin1);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::string(text->bytes.begin(), text->bytes.end()), "one\ntwo \xE9 ?");

    // The other way: LF becomes CR LF, a broken byte the replacement character, and both text formats read it.
    m_pPeer->Own({ { "UTF8_STRING", Bytes("UTF8_STRING", "a\nb\r\nc\xFF") } });
    ASSERT_TRUE(SeesPeersFormat(CF_UNICODETEXT));
    EXPECT_EQ(PasteText(), "a\r\nb\r\nc\xEF\xBF\xBD");
    std::optional<std::string> wide = Paste(CF_UNICODETEXT);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->size(), 9u * 2) << "eight characters and a NUL";

    // An owner with Latin-1 text only.
    m_pPeer->Own({ { "STRING", Bytes("STRING", "caf\xE9") } });
    ASSERT_TRUE(PumpUntil([&] { return PasteText() == "caf\xC3\xA9"; }));
}

TEST_F(X11ClipboardTest, TheRegisteredFormatGoesBothWaysAsItsBytes)
{
    const std::string record("\x01\x00\x02\xFF node\r\n", 11);
    Copy({ { m_uRecordFormat, record } });
    auto read = m_pPeer->Read("Archivora CBFormat");
    std::optional<CData> data = Answer(read);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->strType, "Archivora CBFormat");
    EXPECT_EQ(std::string(data->bytes.begin(), data->bytes.end()), record);

    // From a second instance of the program: available at once, read exactly.
    const std::string other("\x07\x00\x00\x08", 4);
    m_pPeer->Own({ { "Archivora CBFormat", Bytes("Archivora CBFormat", other) } });
    ASSERT_TRUE(SeesPeersFormat(m_uRecordFormat));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(Paste(m_uRecordFormat), other);

    // An answer of the wrong type gives nothing.
    m_pPeer->Own({ { "Archivora CBFormat", Bytes("UTF8_STRING", "not a record") } });
    PumpFor(std::chrono::milliseconds(200));
    ASSERT_TRUE(SeesPeersFormat(m_uRecordFormat));
    EXPECT_EQ(Paste(m_uRecordFormat), std::nullopt);
}

TEST_F(X11ClipboardTest, AMegabyteOfTextGoesInChunksBothWays)
{
    std::string strLarge;
    for (int i = 0; strLarge.size() < (1u << 20); ++i)
        strLarge += "line " + std::to_string(i) + " of the large text\r\n";
    Copy({ { CF_TEXT, strLarge + '\0' } });
    auto read = m_pPeer->Read("UTF8_STRING");
    std::optional<CData> text = Answer(read);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->bInChunks);
    std::string strSent = strLarge;
    std::erase(strSent, '\r');
    EXPECT_TRUE(std::string(text->bytes.begin(), text->bytes.end()) == strSent);

    m_pPeer->Own({ { "UTF8_STRING", Bytes("UTF8_STRING", strSent) } });
    ASSERT_TRUE(SeesPeersFormat(CF_TEXT));
    std::optional<std::string> pasted = PasteText();
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->size(), strLarge.size());
    EXPECT_TRUE(*pasted == strLarge);
}

TEST_F(X11ClipboardTest, AnOwnerThatNeverAnswersCostsABoundedWait)
{
    m_pPeer->Own({ { "UTF8_STRING", Bytes("UTF8_STRING", "never given") } }, CSelectionPeer::EAnswers::TargetsOnly);
    ASSERT_TRUE(SeesPeersFormat(CF_TEXT));

    // Whether it can be pasted is known without asking the owner.
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));

    start = std::chrono::steady_clock::now();
    EXPECT_EQ(PasteText(), std::nullopt);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(1500));
    EXPECT_LE(waited, std::chrono::milliseconds(4000));

    // The program goes on: its own copy reaches the desktop.
    Copy({ { CF_TEXT, std::string("after") + '\0' } });
    auto read = m_pPeer->Read("UTF8_STRING");
    std::optional<CData> text = Answer(read);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::string(text->bytes.begin(), text->bytes.end()), "after");
}

TEST_F(X11ClipboardTest, LosingTheClipboardMakesTheProgramsPayloadUnavailable)
{
    Copy({ { m_uRecordFormat, "record" }, { CF_TEXT, std::string("names") + '\0' } });
    ASSERT_TRUE(PumpUntil([&] { return m_pPeer->ClipboardOwner() != None && !m_pPeer->OwnsClipboard(); }));

    m_pPeer->Own({ { "UTF8_STRING", Bytes("UTF8_STRING", "theirs") } });
    ASSERT_TRUE(PumpUntil([&] { return !IsClipboardFormatAvailable(m_uRecordFormat); }));
    EXPECT_EQ(Paste(m_uRecordFormat), std::nullopt);
    ASSERT_TRUE(SeesPeersFormat(CF_TEXT));
    EXPECT_EQ(PasteText(), "theirs");
}

TEST_F(X11ClipboardTest, EmptyingAfterAPastedCutGivesTheClipboardUp)
{
    Copy({ { m_uRecordFormat, "cut nodes" } });
    ASSERT_TRUE(PumpUntil([&] { return m_pPeer->ClipboardOwner() != None; }));

    // Pasting a cut empties the clipboard: the payload must not stay pasteable elsewhere.
    Copy({});
    EXPECT_TRUE(PumpUntil([&] { return m_pPeer->ClipboardOwner() == None; }));
    EXPECT_FALSE(IsClipboardFormatAvailable(m_uRecordFormat));
}

TEST_F(X11ClipboardTest, AChangeOfUnsharedFormatsOnlyLeavesAnotherOwnerAlone)
{
    m_pPeer->Own({ { "UTF8_STRING", Bytes("UTF8_STRING", "theirs") } });
    ASSERT_TRUE(SeesPeersFormat(CF_TEXT));

    Copy({ { CF_HDROP, "file list" } });
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_TRUE(m_pPeer->OwnsClipboard());
    // The program's own format stays in the program, the shared ones are the other owner's.
    EXPECT_EQ(Paste(CF_HDROP), "file list");
    EXPECT_EQ(PasteText(), "theirs");
}

TEST_F(X11ClipboardTest, TextIsHandedToTheClipboardManagerAtTheEnd)
{
    m_pPeer->BecomeClipboardManager();
    Copy({ { CF_TEXT, std::string("keep\r\nme") + '\0' } });
    PumpFor(std::chrono::milliseconds(100));
    ASSERT_FALSE(m_pPeer->SavedText());

    auto start = std::chrono::steady_clock::now();
    SetDisplay(nullptr);
    m_pDisplay.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_EQ(m_pPeer->SavedText(), "keep\nme");
}
