// The mail page of the documents sheet: one line per store with its mail
// client.

#include "dialogs/preferences/CMailsPropPage.h"

#include "store/CMailStoreRec.h"
#include "tests/dialogs/preferences/PreferencePageTest.h"

namespace {

class MailsPropPageTest : public PreferencePageTest { };

TEST_F(MailsPropPageTest, ListsEveryStoreWithItsClient)
{
    CMailsPageData data;
    data.stores.push_back({ "C:\\mail\\Inbox", LOCATION_NETSCAPE });
    data.stores.push_back({ "C:\\mail\\Folders.dbx", LOCATION_OUTLOOK_EXPRESS5 });
    CMailsPropPage page(data);
    std::vector<CString> lines;
    EXPECT_EQ(
        RunPage(page, [&](HWND, HWND hPage) { lines = CTestDriver::Items(::GetDlgItem(hPage, IDC_MAIL_STORES)); }),
        IDOK);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], CMailsPropPage::StoreLine(data.stores[0]));
    EXPECT_TRUE(std::string(lines[0]).ends_with(" ( Netscape )")) << lines[0];
    EXPECT_TRUE(std::string(lines[1]).ends_with(" ( Outlook Express 5 )")) << lines[1];
}

} // namespace
