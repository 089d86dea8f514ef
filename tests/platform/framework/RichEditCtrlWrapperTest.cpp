#include "platform/framework/CRichEditCtrl.h"

#include "tests/platform/framework/FrameworkTestSupport.h"

namespace {

using RichEditCtrlWrapperTest = FrameworkTest;

// A rich edit's length counts characters: texts of multi-byte characters and
// line breaks still come back whole through the class library.
TEST_F(RichEditCtrlWrapperTest, TextsComeBackWholeWhateverTheirCharacters)
{
    ASSERT_TRUE(AfxInitRichEdit());
    HWND hParent = CreatePlainWindow();
    CRichEditCtrl edit;
    ASSERT_TRUE(edit.Create(ES_MULTILINE | ES_READONLY, Rect(0, 0, 200, 100), CWnd::FromHandle(hParent), 4661));
    const char* pszText = "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\nna\xC3\xAFve \xF0\x9F\x98\x80";
    edit.SetWindowText(pszText);
    EXPECT_EQ(edit.GetTextLength(), 11);
    CString strText;
    edit.GetWindowText(strText);
    EXPECT_STREQ(strText, "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\r\nna\xC3\xAFve \xF0\x9F\x98\x80");
    edit.SetSel(0, -1);
    EXPECT_STREQ(edit.GetSelText(), strText);
    long nStart = 0, nEnd = 0;
    edit.SetSel(2, 6);
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 2);
    EXPECT_EQ(nEnd, 6);
    EXPECT_STREQ(edit.GetSelText(), "\xE2\x82\xAC\r\nna");
    edit.DestroyWindow();
    DestroyWindow(hParent);
}

} // namespace
