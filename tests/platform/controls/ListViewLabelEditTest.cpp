#include "platform/controls/ListViewControl.h"

#include "platform/controls/EditControl.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/ListViewTestSupport.h"

namespace {

class ListViewLabelEditTest : public ListViewTest {
protected:
    // Answers LVN_ENDLABELEDIT with bKeep, recording the texts it carried ("(null)" when cancelled).
    void RecordEnds(LRESULT bKeep, const std::function<void()>& onEnd = nullptr)
    {
        onNotify = [this, bKeep, onEnd](NMHDR* pHdr) -> LRESULT {
            if (pHdr->code != LVN_ENDLABELEDIT)
                return 0;
            const LPSTR pszText = reinterpret_cast<NMLVDISPINFO*>(pHdr)->item.pszText;
            m_ends.push_back(pszText ? pszText : "(null)");
            if (onEnd)
                onEnd();
            return bKeep;
        };
    }
    static HWND Editor(HWND hList) { return reinterpret_cast<HWND>(SendMessage(hList, LVM_GETEDITCONTROL, 0, 0)); }

    std::vector<std::string> m_ends;
};

TEST_F(ListViewLabelEditTest, BeginNotificationSeesTheEditorAndMayRefuse)
{
    HWND hList = CreateList(LVS_EDITLABELS, 3);
    HWND hSeen = nullptr;
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code != LVN_BEGINLABELEDIT)
            return 0;
        hSeen = Editor(hList);
        return reinterpret_cast<NMLVDISPINFO*>(pHdr)->item.iItem == 1;
    };
    EXPECT_EQ(SendMessage(hList, LVM_EDITLABEL, 1, 0), 0);
    EXPECT_NE(hSeen, nullptr);
    EXPECT_FALSE(IsWindow(hSeen));
    EXPECT_EQ(Editor(hList), nullptr);

    HWND hEdit = reinterpret_cast<HWND>(SendMessage(hList, LVM_EDITLABEL, 2, 0));
    ASSERT_NE(hEdit, nullptr);
    EXPECT_EQ(hSeen, hEdit);
    EXPECT_EQ(GetFocus(), hEdit);
    EXPECT_TRUE(SendMessage(hEdit, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
}

TEST_F(ListViewLabelEditTest, EnterCommitsEscCancelsAndFocusLossCommits)
{
    HWND hList = CreateList(LVS_EDITLABELS, 3);
    RecordEnds(TRUE);
    HWND hEdit = reinterpret_cast<HWND>(SendMessage(hList, LVM_EDITLABEL, 0, 0));
    SetWindowText(hEdit, "renamed");
    Key(VK_RETURN, TRUE);
    Key(VK_RETURN, FALSE);
    EXPECT_EQ(Text(hList, 0), "renamed");
    EXPECT_FALSE(IsWindow(hEdit));

    hEdit = reinterpret_cast<HWND>(SendMessage(hList, LVM_EDITLABEL, 1, 0));
    SetWindowText(hEdit, "dropped");
    Key(VK_ESCAPE, TRUE);
    Key(VK_ESCAPE, FALSE);
    EXPECT_EQ(Text(hList, 1), "Row 1");

    hEdit = reinterpret_cast<HWND>(SendMessage(hList, LVM_EDITLABEL, 2, 0));
    SetWindowText(hEdit, "left");
    SetFocus(m_hParent);
    EXPECT_EQ(Text(hList, 2), "left");
    EXPECT_EQ(m_ends, (std::vector<std::string> { "renamed", "(null)", "left" }));
}

TEST_F(ListViewLabelEditTest, ASlowSecondClickOnTheFocusedRowEditsItsLabel)
{
    HWND hList = CreateList(LVS_EDITLABELS, 3);
    const UINT nDoubleClick = GetDoubleClickTime();
    auto waitPastDoubleClick = [&] {
        m_clock.Advance(nDoubleClick + 1);
        PumpUntilIdle();
    };
    ClickRow(hList, 1); // the click that selects edits nothing
    waitPastDoubleClick();
    EXPECT_EQ(Editor(hList), nullptr);
    ClickRow(hList, 1);
    EXPECT_EQ(Editor(hList), nullptr); // a double click may still come
    waitPastDoubleClick();
    ASSERT_NE(Editor(hList), nullptr);
    SendMessage(hList, LVM_EDITLABEL, static_cast<WPARAM>(-1), 0);

    // A double click, or a second click that moves to another row, edits nothing.
    const POINT pt = RowPoint(hList, 1);
    m_clock.Advance(nDoubleClick + 1);
    QueuedClick(hList, pt.x, pt.y);
    QueuedClick(hList, pt.x, pt.y);
    waitPastDoubleClick();
    EXPECT_EQ(Editor(hList), nullptr);
    ClickRow(hList, 2);
    waitPastDoubleClick();
    EXPECT_EQ(Editor(hList), nullptr);
}

TEST_F(ListViewLabelEditTest, EndHandlerMayRefuseAndStartANewEdit)
{
    HWND hList = CreateList(LVS_EDITLABELS, 2);
    bool bAgain = true;
    RecordEnds(FALSE, [&] {
        if (std::exchange(bAgain, false))
            SendMessage(hList, LVM_EDITLABEL, 0, 0);
    });
    HWND hFirst = reinterpret_cast<HWND>(SendMessage(hList, LVM_EDITLABEL, 0, 0));
    SetWindowText(hFirst, "duplicate");
    Key(VK_RETURN, TRUE);
    Key(VK_RETURN, FALSE);
    HWND hSecond = Editor(hList);
    ASSERT_NE(hSecond, nullptr);
    EXPECT_NE(hSecond, hFirst);
    EXPECT_EQ(GetFocus(), hSecond);
    EXPECT_EQ(Text(hList, 0), "Row 0");

    // F2 ends the open edit and starts one on the focused row.
    SendMessage(hList, LVM_EDITLABEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Editor(hList), nullptr);
    SetState(hList, 1, LVIS_FOCUSED, LVIS_FOCUSED);
    SetFocus(hList);
    Key(VK_F2, TRUE);
    Key(VK_F2, FALSE);
    EXPECT_NE(Editor(hList), nullptr);
    EXPECT_EQ(m_ends, (std::vector<std::string> { "duplicate", "(null)" }));
    DestroyWindow(hList);
}

} // namespace
