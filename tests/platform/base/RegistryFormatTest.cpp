#include "platform/base/RegistryFormat.h"

#include "platform/base/Registry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::vector<BYTE> Bytes(std::string_view str)
{
    return { str.begin(), str.end() };
}

// A tree with every kind of name and value the format has a form for.
CRegistryNode SampleTree()
{
    CRegistryNode root;
    bool bCreated = false;
    root.SetValue("AtRoot", REG_DWORD, { 1, 0, 0, 0 });
    auto pApp = root.AddSubkey("Software", bCreated)->AddSubkey("App 100% [beta]", bCreated);
    pApp->AddSubkey("Tab\there", bCreated);
    pApp->SetValue("", REG_SZ, Bytes(std::string_view("default\0", 8)));
    pApp->SetValue("Quote\"Back\\slash", REG_EXPAND_SZ, Bytes(std::string_view("%X%\r\n\x01\x7f\0", 8)));
    pApp->SetValue("Count", REG_DWORD, { 0x2a, 0, 0, 0 });
    pApp->SetValue("Short dword", REG_DWORD, { 0x2a });
    pApp->SetValue("List", REG_MULTI_SZ, Bytes(std::string_view("a\0\0b,\"c\"\0\0", 10)));
    pApp->SetValue("EmptyList", REG_MULTI_SZ, { 0 });
    pApp->SetValue("BadList", REG_MULTI_SZ, Bytes(std::string_view("a\0", 2)));
    pApp->SetValue("Blob", REG_BINARY, { 0x00, 0xff, 0x10 });
    pApp->SetValue("EmptyBlob", REG_BINARY, {});
    pApp->SetValue("Unterminated", REG_SZ, Bytes("abc"));
    pApp->SetValue("Quad", REG_QWORD, { 1, 2, 3, 4, 5, 6, 7, 8 });
    pApp->SetValue("Ünïcode", REG_SZ, Bytes(std::string_view("naïve ☃\0", 11)));
    return root;
}

void ExpectSameTree(const CRegistryNode& expected, const CRegistryNode& actual)
{
    EXPECT_EQ(expected.GetName(), actual.GetName());
    ASSERT_EQ(expected.GetValues().size(), actual.GetValues().size()) << expected.GetName();
    for (size_t i = 0; i < expected.GetValues().size(); ++i) {
        const CRegistryValue& a = expected.GetValues()[i];
        const CRegistryValue& b = actual.GetValues()[i];
        EXPECT_EQ(a.strName, b.strName);
        EXPECT_EQ(a.dwType, b.dwType) << a.strName;
        EXPECT_EQ(a.data, b.data) << a.strName;
    }
    ASSERT_EQ(expected.GetSubkeys().size(), actual.GetSubkeys().size());
    for (auto itA = expected.GetSubkeys().begin(), itB = actual.GetSubkeys().begin();
         itA != expected.GetSubkeys().end(); ++itA, ++itB)
        ExpectSameTree(*itA->second, *itB->second);
}

bool Parses(std::string_view text, std::string* pError = nullptr)
{
    CRegistryNode root;
    std::string strError;
    bool bParsed = ParseRegistryText(text, root, strError);
    if (pError)
        *pError = strError;
    return bParsed;
}

}

TEST(RegistryFormatTest, EveryValueRoundTripsExactly)
{
    CRegistryNode tree = SampleTree();
    std::string strText = FormatRegistryText(tree);
    CRegistryNode parsed;
    std::string strError;
    ASSERT_TRUE(ParseRegistryText(strText, parsed, strError)) << strError << "\n" << strText;
    ExpectSameTree(tree, parsed);
    EXPECT_EQ(FormatRegistryText(parsed), strText);
}

TEST(RegistryFormatTest, ValuesAreWrittenInTheirReadableForms)
{
    std::string strText = FormatRegistryText(SampleTree());
    for (const char* pszLine : {
             "[Software\\App 100%25 [beta]]\n",
             "[Software\\App 100%25 [beta]\\Tab%09here]\n",
             "@=sz:\"default\"\n",
             "\"Quote\\\"Back\\\\slash\"=expand_sz:\"%X%\\r\\n\\x01\\x7f\"\n",
             "\"Count\"=dword:0000002a\n",
             "\"Short dword\"=hex(4):2a\n",
             "\"List\"=multi_sz:\"a\",\"\",\"b,\\\"c\\\"\"\n",
             "\"EmptyList\"=multi_sz:\n",
             "\"BadList\"=hex(7):61,00\n",
             "\"Blob\"=hex:00,ff,10\n",
             "\"EmptyBlob\"=hex:\n",
             "\"Unterminated\"=hex(1):61,62,63\n",
             "\"Ünïcode\"=sz:\"naïve ☃\"\n",
         })
        EXPECT_NE(strText.find(pszLine), std::string::npos) << pszLine << "\nin\n" << strText;
    EXPECT_EQ(strText.rfind("ARCHIVORA-REGISTRY 1\n[]\n", 0), 0u);
    EXPECT_TRUE(strText.ends_with("\nEND\n"));
}

TEST(RegistryFormatTest, CommentsBlankLinesAndCarriageReturnsAreAccepted)
{
    CRegistryNode root;
    std::string strError;
    ASSERT_TRUE(ParseRegistryText(
        "ARCHIVORA-REGISTRY 1\r\n; written by hand\r\n\r\n[A\\B]\r\n\"v\"=dword:1\r\nEND\r\n", root, strError))
        << strError;
    auto pKey = root.FindSubkey("a")->FindSubkey("b");
    ASSERT_NE(pKey, nullptr);
    EXPECT_EQ(pKey->FindValue("V")->data, (std::vector<BYTE> { 1, 0, 0, 0 }));
}

TEST(RegistryFormatTest, MalformedTextIsRejectedWithTheLine)
{
    const std::string strHeader = "ARCHIVORA-REGISTRY 1\n";
    std::string strError;
    EXPECT_FALSE(Parses("", &strError));
    EXPECT_FALSE(Parses("ARCHIVORA-REGISTRY 2\n[]\nEND\n"));
    EXPECT_FALSE(Parses(strHeader + "[]\n\"v\"=dword:1\n", &strError)); // cut short
    EXPECT_NE(strError.find("END"), std::string::npos);
    EXPECT_FALSE(Parses(strHeader + "[]\nEND\n[]\n"));
    EXPECT_FALSE(Parses(strHeader + "\"v\"=dword:1\nEND\n"));                                // a value before any key
    EXPECT_FALSE(Parses(strHeader + "[A]\n[a]\nEND\n"));                                     // a key twice
    EXPECT_FALSE(Parses(strHeader + "[A]\n\"v\"=dword:1\n\"V\"=dword:2\nEND\n", &strError)); // a value twice
    EXPECT_EQ(strError.rfind("line 4", 0), 0u);
    for (const char* pszBad : { "[A\\\\B]", "[\\A]", "[A\\]", "[A%2]", "[A%zz]", "[A%00]", "[A", "\"v\"=sz:\"open",
             "\"v\"=sz:\"bad \\q escape\"", "\"v\"=sz:\"x\" trailing", "\"v\"=sz:\"\\x4\"",
             "\"v\"=dword:", "\"v\"=dword:123456789", "\"v\"=hex:1", "\"v\"=hex:01,", "\"v\"=hex(:01",
             "\"v\"=hex(123456789):", "\"v\"=multi_sz:\"a\",", "\"v\"=text:\"a\"", "\"\"=sz:\"empty name\"",
             "\"nul\\x00name\"=dword:1", "v=dword:1", "\"v\"dword:1" }) {
        EXPECT_FALSE(Parses(strHeader + "[A]\n" + pszBad + "\nEND\n")) << pszBad;
    }
}

TEST(RegistryFormatTest, KeysNestedTooDeeplyAreRejected)
{
    std::string strPath = "A";
    for (size_t i = 1; i <= REGISTRY_MAX_DEPTH; ++i)
        strPath += "\\A";
    EXPECT_FALSE(Parses("ARCHIVORA-REGISTRY 1\n[" + strPath + "]\nEND\n"));
}
