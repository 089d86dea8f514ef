#include "ui/CKadDragObjReg.h"

#include "platform/base/GlobalMemory.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "tests/ui/UiCatalogTest.h"
#include "ui/CUiHostServices.h"

#include <cstring>

namespace {

class CTestHost : public CUiHostServices {
public:
    explicit CTestHost(CCatalog* pCatalog)
        : m_pCatalog(pCatalog)
    {
    }
    CCatalog* GetMainCatalog() override { return m_pCatalog; }

private:
    CCatalog* m_pCatalog;
};

class CKadDragObjRegTest : public UiCatalogTest {
protected:
    void SetUp() override
    {
        UiCatalogTest::SetUp();
        m_host = std::make_unique<CTestHost>(m_pCatalog.get());
        m_pPrevious = InstallUiHostServices(m_host.get());
        thePreferences.m_nClipboardFormat = RegisterClipboardFormat(CPreferences::CLIPBOARD_FORMAT_NAME);
        EmptyTheClipboard();
    }
    void TearDown() override
    {
        EmptyTheClipboard();
        InstallUiHostServices(m_pPrevious);
        UiCatalogTest::TearDown();
    }

    static void EmptyTheClipboard()
    {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }
    // Puts raw bytes on the clipboard under the payload format, as another program would.
    static void PutBytes(const std::vector<BYTE>& bytes)
    {
        HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(hData), bytes.data(), bytes.size());
        GlobalUnlock(hData);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(thePreferences.m_nClipboardFormat, hData);
        CloseClipboard();
    }
    // Pastes into a fresh payload, answering the message box it may show;
    // returns the operation and the message's text (empty: none shown).
    std::pair<int, std::string> Paste(CKadDragObjReg& payload)
    {
        std::string strMessage;
        m_pUi->m_driver.OnNextDialog([&](HWND hDlg) {
            strMessage = static_cast<LPCTSTR>(CTestDriver::Text(GetDlgItem(hDlg, MESSAGEBOX_TEXT_ID)));
            EndDialog(hDlg, IDOK);
        });
        const int nOperation = payload.PasteFromClipboard();
        return { nOperation, strMessage };
    }
    static std::string Text(UINT nID)
    {
        CString str;
        str.LoadString(nID);
        return static_cast<LPCTSTR>(str);
    }
    std::vector<BYTE> Bytes(CRecordRef source, LONG nOperation, std::vector<CRecordRef> items)
    {
        CCatalogPayload payload { source, nOperation, std::move(items) };
        return BuildCatalogPayload(payload);
    }

    std::unique_ptr<CTestHost> m_host;
    CUiHostServices* m_pPrevious { nullptr };
};

TEST_F(CKadDragObjRegTest, CopiedRecordsPasteAsOwnedNodesAndDocumentsAgainAndAgain)
{
    std::unique_ptr<CNodeRec> pProjects = Node(*m_pCatalog, m_tree.projects);
    std::unique_ptr<CNodeRec> pAlpha = Node(*m_pCatalog, m_tree.alpha);
    std::unique_ptr<CDocumentRec> pReadme = Document(*m_pCatalog, m_tree.readme);
    CKadDragObjReg copied;
    copied.SetSource(pProjects.get());
    copied.AddItem(pAlpha.get(), 3);
    copied.AddItem(pReadme.get(), 4);
    ASSERT_TRUE(copied.CopyToClipboard(PAYLOAD_COPY));

    for (int nPaste = 0; nPaste < 2; ++nPaste) {
        CKadDragObjReg pasted;
        auto [nOperation, strMessage] = Paste(pasted);
        EXPECT_EQ(nOperation, PAYLOAD_COPY);
        EXPECT_TRUE(strMessage.empty());
        EXPECT_TRUE(pasted.OwnsRecords());
        ASSERT_EQ(pasted.GetItemCount(), 2);
        EXPECT_NE(dynamic_cast<CNodeRec*>(pasted.GetItem(0).pRecord), nullptr);
        EXPECT_NE(dynamic_cast<CDocumentRec*>(pasted.GetItem(1).pRecord), nullptr);
        EXPECT_EQ(pasted.GetItem(1).pRecord->GetRef(), m_tree.readme);
        EXPECT_EQ(pasted.GetItem(1).nItem, 0);
        ASSERT_NE(pasted.GetSource(), nullptr);
        EXPECT_EQ(pasted.GetSource()->GetRef(), m_tree.projects);
        const CCatalogPayload payload = pasted.ToPayload(nOperation);
        EXPECT_EQ(payload.items.size(), 2u);
    }
}

TEST_F(CKadDragObjRegTest, NothingToPasteIsSilent)
{
    CKadDragObjReg payload;
    EXPECT_EQ(Paste(payload), std::make_pair(0, std::string()));

    PutBytes(Bytes({}, PAYLOAD_MOVE, {}));
    EXPECT_EQ(Paste(payload), std::make_pair(0, std::string())) << "count 0 pastes nothing";

    PutBytes(Bytes({}, PAYLOAD_MOVE, { CRecordRef { 9999, 0 }, m_tree.archive }));
    auto [nOperation, strMessage] = Paste(payload);
    EXPECT_EQ(nOperation, PAYLOAD_MOVE) << "records that are gone are left out silently";
    EXPECT_TRUE(strMessage.empty());
    EXPECT_EQ(payload.GetItemCount(), 1);
}

TEST_F(CKadDragObjRegTest, SourceThatIsGoneStopsThePaste)
{
    PutBytes(Bytes(m_tree.aTxt, PAYLOAD_COPY, { m_tree.alpha }));
    CKadDragObjReg payload;
    auto [nOperation, strMessage] = Paste(payload);
    EXPECT_EQ(nOperation, 0);
    EXPECT_EQ(strMessage, Text(IDS_PASTE_SOURCE_GONE)) << "a document is no system or group";
    EXPECT_EQ(payload.GetItemCount(), 0);
}

TEST_F(CKadDragObjRegTest, DamagedDataIsReportedAndNothingIsKept)
{
    const std::vector<BYTE> good = Bytes(m_tree.projects, PAYLOAD_COPY, { m_tree.alpha, m_tree.beta });
    std::vector<std::vector<BYTE>> damaged;
    damaged.emplace_back(good.begin(), good.begin() + 12); // no count
    damaged.emplace_back(good.begin(), good.end() - 4);    // the last item cut
    damaged.push_back(good);
    damaged.back()[12] = 0xFF; // a count the data cannot hold
    damaged.back()[15] = 0x7F;
    damaged.push_back(good);
    damaged.back()[15] = 0x80; // a negative count
    damaged.push_back(good);
    damaged.back()[8] = 7; // no such operation
    for (const std::vector<BYTE>& bytes : damaged) {
        PutBytes(bytes);
        CKadDragObjReg payload;
        auto [nOperation, strMessage] = Paste(payload);
        EXPECT_EQ(nOperation, 0);
        EXPECT_EQ(strMessage, Text(IDS_PASTE_DATA_UNREADABLE));
        EXPECT_EQ(payload.GetItemCount(), 0);
        EXPECT_EQ(payload.GetSource(), nullptr);
    }

    std::vector<BYTE> longer = good;
    longer.resize(good.size() + 13, 0xEE); // slack after the last item
    PutBytes(longer);
    CKadDragObjReg payload;
    EXPECT_EQ(Paste(payload).first, PAYLOAD_COPY);
    EXPECT_EQ(payload.GetItemCount(), 2);
}

TEST_F(CKadDragObjRegTest, ForgettingEmptiesOnlyOurOwnPayload)
{
    std::unique_ptr<CNodeRec> pAlpha = Node(*m_pCatalog, m_tree.alpha);
    CKadDragObjReg copied;
    copied.AddItem(pAlpha.get(), 0);
    ASSERT_TRUE(copied.CopyToClipboard(PAYLOAD_MOVE));
    CKadDragObjReg::ForgetClipboardPayload();
    EXPECT_FALSE(IsClipboardFormatAvailable(thePreferences.m_nClipboardFormat));

    ASSERT_TRUE(copied.CopyToClipboard(PAYLOAD_COPY));
    PutBytes(Bytes({}, PAYLOAD_COPY, { m_tree.beta })); // another copy took its place
    CKadDragObjReg::ForgetClipboardPayload();
    EXPECT_TRUE(IsClipboardFormatAvailable(thePreferences.m_nClipboardFormat));
}

} // namespace
