#include "store/ContentReader.h"

#include "store/ProtectedFile.h"
#include "tests/store/DocumentFilesFixture.h"

#include "platform/base/FolderListing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::string_literals;

class ContentReaderTest : public DocumentFilesTest {
protected:
    struct Read {
        int nCode;
        std::string strText;
    };

    // Reads a file into a buffer of nSize bytes placed between guard bytes,
    // checking that nothing outside it is touched and that the text ends in it;
    // read by its name in its listed folder, it reads the same.
    Read ReadWith(const std::string& strPath, int nSize)
    {
        Read read = ReadInto(strPath, nSize, nullptr);
        const std::size_t nSlash = strPath.rfind('\\');
        if (CListedFolder folder; nSlash != std::string::npos && folder.List(strPath.substr(0, nSlash + 1).c_str())) {
            const Read listed = ReadInto(strPath, nSize, &folder);
            EXPECT_EQ(listed.nCode, read.nCode) << strPath;
            EXPECT_EQ(listed.strText, read.strText) << strPath;
        }
        return read;
    }
    Read ReadInto(const std::string& strPath, int nSize, const CListedFolder* pFolder)
    {
        std::vector<char> buffer(static_cast<std::size_t>(nSize) + 16, '#');
        const int nCode = pFolder == nullptr ? ReadFileContent(strPath.c_str(), buffer.data() + 8, nSize)
                                             : ReadListedFileContent(*pFolder, strPath.substr(strPath.rfind('\\') + 1),
                                                 strPath.c_str(), buffer.data() + 8, nSize);
        for (int n = 0; n < 8; ++n) {
            EXPECT_EQ(buffer[static_cast<std::size_t>(n)], '#');
            EXPECT_EQ(buffer[buffer.size() - 1 - static_cast<std::size_t>(n)], '#');
        }
        const char* pszText = buffer.data() + 8;
        EXPECT_NE(std::memchr(pszText, '\0', static_cast<std::size_t>(nSize)), nullptr);
        return { nCode, std::string(pszText) };
    }
    Read ReadFile(const std::string& strPath) { return ReadWith(strPath, 32000); }
};

/* Files that are not regular files. */

TEST_F(ContentReaderTest, ASpecialFileIsUnreadableAtOnce)
{
    const std::vector<std::string> names = MakeSpecialFilesOnT();
    ASSERT_EQ(names.size(), 3u);
    for (const std::string& strName : names) {
        const int nResult = RunInChildWithin(10, [&] {
            char szBuffer[64];
            return ReadFileContent(OnT(strName).c_str(), szBuffer, sizeof szBuffer) == CONTENT_UNREADABLE ? 0 : 1;
        });
        EXPECT_EQ(nResult, 0) << strName << (nResult < 0 ? " kept the reader waiting" : "");
    }
}

/* Text. */

TEST_F(ContentReaderTest, Utf8TextIsReturnedAsItIs)
{
    Read read = ReadFile(WriteOnT("notes.txt", "Grüße aus Köln\r\nline two\n"));
    EXPECT_EQ(read.nCode, CONTENT_TEXT);
    EXPECT_EQ(read.strText, "Grüße aus Köln\r\nline two\n");
    EXPECT_EQ(ReadFile(WriteOnT("bom.txt", "\xEF\xBB\xBFwith a mark")).strText, "with a mark");
}

TEST_F(ContentReaderTest, AShortFileReadAfterALongerOneGivesOnlyItsOwnText)
{
    const std::string strLong = WriteOnT("long.txt", std::string(3000, 'x'));
    const std::string strShort = WriteOnT("short.txt", "short");
    const std::string strShorter = WriteOnT("shorter.html", "<p>ab</p>");
    for (int nRound = 0; nRound < 2; ++nRound) {
        EXPECT_EQ(ReadFile(strLong).strText, std::string(3000, 'x'));
        EXPECT_EQ(ReadFile(strShort).strText, "short");
        EXPECT_EQ(ReadFile(strShorter).strText, "ab");
        EXPECT_EQ(ReadFile(WriteOnT("nothing.txt", "")).nCode, CONTENT_EMPTY);
    }
}

TEST_F(ContentReaderTest, LongTextIsCutOnACharacterBoundaryWithinTheBuffer)
{
    std::string strText;
    for (int n = 0; n < 5000; ++n)
        strText += "ä€𝄞x";
    std::string strPath = WriteOnT("long.txt", strText);
    for (int nSize : { 1, 2, 3, 4, 5, 6, 10, 260, 32000 }) {
        Read read = ReadWith(strPath, nSize);
        EXPECT_EQ(read.nCode, nSize == 1 || nSize == 2 ? CONTENT_EMPTY : CONTENT_TEXT) << nSize;
        EXPECT_LT(read.strText.size(), static_cast<std::size_t>(nSize));
        EXPECT_EQ(strText.compare(0, read.strText.size(), read.strText), 0) << nSize;
        EXPECT_GE(read.strText.size() + 4, static_cast<std::size_t>(nSize) - 1)
            << nSize; // no more cut than a character
    }
}

TEST_F(ContentReaderTest, Utf16AndWesternCodePageTextIsConverted)
{
    std::string strLe = "\xFF\xFE"s + "H\0i\0 \0\xAC\x20"s + "\x3D\xD8\x00\xDE"s; // "Hi €😀"
    Read le = ReadFile(WriteOnT("le.txt", strLe));
    EXPECT_EQ(le.nCode, CONTENT_CONVERTED_TEXT);
    EXPECT_EQ(le.strText, "Hi €😀");
    Read be = ReadFile(WriteOnT("be.txt", "\xFE\xFF\0O\0K\xD8\x00"s)); // a lone surrogate at the end
    EXPECT_EQ(be.nCode, CONTENT_CONVERTED_TEXT);
    EXPECT_EQ(be.strText, "OK\xEF\xBF\xBD");
    Read western = ReadFile(WriteOnT("w.txt", "caf\xE9 \x93quoted\x94 \x80 5"));
    EXPECT_EQ(western.nCode, CONTENT_CONVERTED_TEXT);
    EXPECT_EQ(western.strText, "café “quoted” € 5");
}

TEST_F(ContentReaderTest, HtmlDocumentsGiveTheirWordsNotTheirMarkup)
{
    Read page = ReadFile(WriteOnT("page.html",
        "<!DOCTYPE html>\n<html><head><title>Tab title</title><style>p { color: red; }</style>"
        "<script>if (a < b) alert('x');</script></head>\n<body><h1>Caf&eacute; &amp; Bar</h1>\n"
        "<p class=\"a>b\">Fish&nbsp;&#38;   chips<br>&#x20AC;5 &lt;cheap&gt; &bogus; 3 < 4</p><!-- hidden -->"
        "<pre>a  b\n c</pre><table><tr><td>one</td><td>two</td></tr></table></body></html>"));
    EXPECT_EQ(page.nCode, CONTENT_CONVERTED_TEXT);
    EXPECT_EQ(page.strText, "Café & Bar\n\nFish & chips\n€5 <cheap> &bogus; 3 < 4\n\na  b\n c\n\none two");

    // The declared character set decodes the bytes; a page without a known
    // extension is known by its doctype.
    Read latin2 = ReadFile(WriteOnT("latin2.htm",
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-2\"></head>"
        "<body>\xB3\xF3"
        "d\xBC</body></html>"));
    EXPECT_EQ(latin2.strText, "łódź");
    Read western = ReadFile(WriteOnT("saved", "<!doctype HTML><meta charset=\"windows-1252\"><p>caf\xE9 \x93q\x94"));
    EXPECT_EQ(western.nCode, CONTENT_CONVERTED_TEXT);
    EXPECT_EQ(western.strText, "café “q”");
    Read utf16 = ReadFile(WriteOnT("wide.htm", "\xFF\xFE"s + "<\0b\0>\0H\0i\0<\0/\0b\0>\0"s));
    EXPECT_EQ(utf16.strText, "Hi");

    // Markup without words has nothing to show; text that merely mentions tags stays text.
    EXPECT_EQ(ReadFile(WriteOnT("empty.html", "<html><body><img src=x></body></html>")).nCode, CONTENT_EMPTY);
    Read note = ReadFile(WriteOnT("note.txt", "use <b> for bold &amp; more"));
    EXPECT_EQ(note.nCode, CONTENT_TEXT);
    EXPECT_EQ(note.strText, "use <b> for bold &amp; more");
}

/* What is not text. */

TEST_F(ContentReaderTest, BinaryEmptyAndMissingFilesShowNoText)
{
    EXPECT_EQ(ReadFile(WriteOnT("a.bin", "MZ\x90\0\3\0\0\0"s)).nCode, CONTENT_NO_PREVIEW);
    std::string strControls(100, 'a');
    for (std::size_t n = 0; n < strControls.size(); n += 8)
        strControls[n] = '\x01';
    EXPECT_EQ(ReadFile(WriteOnT("c.bin", strControls)).nCode, CONTENT_NO_PREVIEW);
    // A PDF whose streams are plain text is still no text to show.
    const Read pdf = ReadFile(WriteOnT("plain.pdf", "%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n%%EOF\n"s));
    EXPECT_EQ(pdf.nCode, CONTENT_NO_PREVIEW);
    EXPECT_EQ(pdf.strText, "");
    EXPECT_EQ(ReadFile(WriteOnT("empty.txt", "")).nCode, CONTENT_EMPTY);
    EXPECT_EQ(ReadFile(OnT("missing.txt")).nCode, CONTENT_NOT_FOUND);
    EXPECT_EQ(ReadFile(OnT("nowhere\\missing.txt")).nCode, CONTENT_NOT_FOUND);
    MakeFolderOnT("folder");
    EXPECT_EQ(ReadFile(OnT("folder")).nCode, CONTENT_UNREADABLE);
    for (const Read& read : { ReadFile(OnT("missing.txt")), ReadFile(OnT("a.bin")) })
        EXPECT_EQ(read.strText, "");
}

TEST_F(ContentReaderTest, BadBuffersAreRefusedUntouched)
{
    std::string strPath = WriteOnT("a.txt", "text");
    char szOne[1] = { 'x' };
    EXPECT_EQ(ReadFileContent(strPath.c_str(), nullptr, 10), CONTENT_EMPTY);
    EXPECT_EQ(ReadFileContent(strPath.c_str(), szOne, 0), CONTENT_EMPTY);
    EXPECT_EQ(ReadFileContent(strPath.c_str(), szOne, -5), CONTENT_EMPTY);
    EXPECT_EQ(szOne[0], 'x');
    EXPECT_EQ(ReadFileContent(strPath.c_str(), szOne, 1), CONTENT_EMPTY);
    EXPECT_EQ(szOne[0], '\0');
}

TEST_F(ContentReaderTest, ProtectedFilesAreNeverRead)
{
    // Short and longer than what is read of a file to tell what it holds.
    for (const std::string& strText :
        { "the secret text of a long enough file to have a whole header"s, std::string(20000, 's') }) {
        std::string strPath = WriteOnT("secret.txt", strText);
        ASSERT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_OK);
        for (const int nSize : { 64, 32000 }) {
            Read read = ReadWith(strPath, nSize);
            EXPECT_EQ(read.nCode, CONTENT_PROTECTED_FILE) << strText.size() << " bytes read into " << nSize;
            EXPECT_EQ(read.strText, "");
        }
    }
    // A file that only starts as a protected one (its length disagrees with
    // its header) is not taken for one.
    std::string strPath = WriteOnT("grown.txt", "the secret text of a long enough file to have a whole header");
    ASSERT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_OK);
    WriteOnT("grown.txt", ReadOnT("grown.txt") + "more");
    EXPECT_NE(ReadFile(strPath).nCode, CONTENT_PROTECTED_FILE);
}

/* Pictures. */

TEST_F(ContentReaderTest, PicturesAreRecognisedByTheirContentAndNamed)
{
    struct Case {
        const char* pszName;
        std::string strBytes;
        const char* pszFormat;
    };
    const std::vector<Case> cases = {
        { "a.dat", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s, "png" },
        { "photo.JPG", "\xFF\xD8\xFF\xE0\0\x10JFIF"s, "jpg" },
        { "anim.gif", "GIF89a\1\0\1\0"s, "gif" },
        { "scan.tiff", "II*\0\x08\0\0\0"s, "tif" },
        { "w.webp", "RIFF\x24\0\0\0WEBPVP8 "s, "webp" },
        { "b.bmp", "BM\x3A\0\0\0\0\0\0\0"s, "bmp" },
        { "i.ico", "\0\0\1\0\1\0\x10\x10"s, "ico" },
    };
    for (const Case& c : cases) {
        std::string strPath = WriteOnT(c.pszName, c.strBytes);
        Read read = ReadFile(strPath);
        EXPECT_EQ(read.nCode, CONTENT_PICTURE) << c.pszName;
        EXPECT_EQ(read.strText, "");
        CString strPicture, strFormat;
        EXPECT_TRUE(GetContentPicture(strPicture, strFormat));
        EXPECT_EQ(std::string(strPicture), strPath);
        EXPECT_EQ(std::string(strFormat), c.pszFormat);
    }
    // Short signatures count only under their own extension.
    EXPECT_EQ(ReadFile(WriteOnT("BM.txt", "BMW and Audi")).nCode, CONTENT_TEXT);
    CString strPicture, strFormat;
    EXPECT_FALSE(GetContentPicture(strPicture, strFormat));
    EXPECT_TRUE(strPicture.IsEmpty() && strFormat.IsEmpty());
}

TEST_F(ContentReaderTest, EachThreadKeepsItsOwnPicture)
{
    std::string strPng = WriteOnT("a.png", "\x89PNG\r\n\x1A\n"s);
    std::string strText = WriteOnT("a.txt", "text");
    EXPECT_EQ(ReadFile(strPng).nCode, CONTENT_PICTURE);
    std::thread other([&] {
        char szBuffer[16];
        EXPECT_EQ(ReadFileContent(strText.c_str(), szBuffer, sizeof(szBuffer)), CONTENT_TEXT);
    });
    other.join();
    CString strPicture, strFormat;
    EXPECT_TRUE(GetContentPicture(strPicture, strFormat));
    EXPECT_EQ(std::string(strPicture), strPng);
}

} // namespace
