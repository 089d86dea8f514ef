// The set-up wizard's document types page as the user sees it: each type's
// icon, and the checks given to types and extensions kept when the user
// leaves the page and comes back.

#include "dialogs/setup/CInstalacaoDocumentos.h"

#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "frame/SetupResults.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/setup/SetupWizardTest.h"
#include "ui/CIconCheckListBox.h"
#include "ui/CSysImageList.h"

#include "platform/controls/ListBoxControl.h"
#include "platform/controls/PropertySheet.h"
#include "platform/framework/CImageList.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageLists.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// The pixels of a rectangle of a window's client area, as painted last.
using Pixels = std::vector<COLORREF>;

Pixels ReadPixels(HWND hWnd, const RECT& rect)
{
    Pixels pixels;
    HDC hdc = ::GetDC(hWnd);
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x)
            pixels.push_back(::GetPixel(hdc, x, y));
    }
    ::ReleaseDC(hWnd, hdc);
    return pixels;
}

class SetupDocumentsPageTest : public SetupWizardTest {
protected:
    static RECT LineRect(HWND hList, int nLine)
    {
        RECT rect {};
        ::SendMessage(hList, LB_GETITEMRECT, static_cast<WPARAM>(nLine), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    // Where a line's icon shows: right of its box, centred in its height.
    static RECT IconRect(HWND hList, int nLine, SIZE icon)
    {
        const RECT line = LineRect(hList, nLine);
        const int nLeft = line.left + CCheckListBox::CHECK_COLUMN + CIconCheckListBox::ICON_LEFT;
        const int nTop = line.top + (line.bottom - line.top - icon.cy) / 2;
        return RECT { nLeft, nTop, nLeft + icon.cx, nTop + icon.cy };
    }
    // Selects a type as a click on its text does (a click on its box would check it too).
    std::function<void(HWND)> SelectType(int nLine)
    {
        return [this, nLine](HWND hDlg) {
            HWND hList = CTestDriver::FindChild(hDlg, IDC_DOC_TYPES);
            const RECT line = LineRect(hList, nLine);
            EXPECT_TRUE(m_driver.Click(hList, line.right - 4, (line.top + line.bottom) / 2));
        };
    }
    static RECT BoxRect(HWND hList, int nLine) { return CCheckListBox::CheckBoxRect(LineRect(hList, nLine)); }
    // The small system icon nIcon drawn over crBack, as a line would show it.
    static Pixels DrawnIcon(int nIcon, SIZE icon, COLORREF crBack)
    {
        HDC hdcScreen = ::GetDC(nullptr);
        HDC hdc = ::CreateCompatibleDC(hdcScreen);
        HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, icon.cx, icon.cy);
        ::ReleaseDC(nullptr, hdcScreen);
        HGDIOBJ hOld = ::SelectObject(hdc, hbm);
        const RECT all { 0, 0, icon.cx, icon.cy };
        HBRUSH hBrush = ::CreateSolidBrush(crBack);
        ::FillRect(hdc, &all, hBrush);
        ::DeleteObject(hBrush);
        ImageList_Draw(*GetSystemImageList(1), nIcon, hdc, 0, 0, ILD_TRANSPARENT);
        Pixels pixels;
        for (int y = 0; y < icon.cy; ++y) {
            for (int x = 0; x < icon.cx; ++x)
                pixels.push_back(::GetPixel(hdc, x, y));
        }
        ::SelectObject(hdc, hOld);
        ::DeleteObject(hbm);
        ::DeleteDC(hdc);
        return pixels;
    }
    static SIZE SmallIconSize()
    {
        int cx = 0;
        int cy = 0;
        ImageList_GetIconSize(*GetSystemImageList(1), &cx, &cy);
        return SIZE { cx, cy };
    }
};

} // namespace

TEST_F(SetupDocumentsPageTest, EachTypeShowsTheSystemIconOfItsFirstExtensionAndTheLastLineAPlainOne)
{
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    std::vector<CString> types;
    std::vector<CString> firstExtensions;
    std::vector<std::pair<Pixels, Pixels>> shownAndExpected;
    CDialogScript script;
    script.Press(ID_WIZNEXT).Then([&](HWND hDlg) {
        types = CTestDriver::Items(CTestDriver::FindChild(hDlg, IDC_DOC_TYPES));
    });
    // The last line takes an extension of a type the desktop knows, yet keeps its plain icon.
    script.Then(SelectType(2)).Then([this](HWND hDlg) {
        m_driver.OnNextDialog([](HWND hAdd) {
            ::SetDlgItemText(hAdd, IDC_EXTENSION, "png");
            ::SendMessage(hAdd, WM_COMMAND, IDOK, 0);
        });
        ClickCheckLine(IDC_DOC_TYPES, 2)(hDlg);
    });
    for (int nLine = 0; nLine < 3; ++nLine) {
        script.Then(SelectType(nLine)).Then([&, nLine](HWND hDlg) {
            HWND hList = CTestDriver::FindChild(hDlg, IDC_DOC_TYPES);
            const std::vector<CString> extensions
                = CTestDriver::Items(CTestDriver::FindChild(hDlg, IDC_DOC_EXTENSIONS));
            firstExtensions.push_back(extensions.empty() ? CString() : extensions[0]);
            m_driver.Pump();
            const SIZE icon = SmallIconSize();
            const RECT line = LineRect(hList, nLine);
            // The line's background, right of its text.
            const Pixels back = ReadPixels(hList, RECT { line.right - 3, line.top + 2, line.right - 2, line.top + 3 });
            const int nIcon = nLine == 2 ? 0 : GetFileIconIndex(firstExtensions.back(), FALSE, TRUE);
            shownAndExpected.emplace_back(
                ReadPixels(hList, IconRect(hList, nLine, icon)), DrawnIcon(nIcon, icon, back.at(0)));
        });
    }
    script.Press(IDCANCEL);
    Answer(script);

    ASSERT_EQ(sheet.DoModal(), IDCANCEL);
    ASSERT_EQ(types, (std::vector<CString> { "Text Document", "Writer Document", Text(IDS_OTHER_DOCUMENT_TYPE) }));
    EXPECT_EQ(firstExtensions, (std::vector<CString> { ".text", ".odt", ".png" }));
    ASSERT_EQ(shownAndExpected.size(), 3u);
    for (std::size_t n = 0; n < shownAndExpected.size(); ++n)
        EXPECT_TRUE(shownAndExpected[n].first == shownAndExpected[n].second) << "line " << n << " shows another icon";
    // The three icons can be told apart, so each line shows its own.
    EXPECT_NE(shownAndExpected[0].second, shownAndExpected[1].second);
    EXPECT_NE(shownAndExpected[1].second, shownAndExpected[2].second);
}

TEST_F(SetupDocumentsPageTest, ChecksShowAgainAfterBackAndNextAndUncheckingLeavesTheChoice)
{
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    Pixels checkedBox;
    Pixels uncheckedBox;
    std::vector<int> typesBack;
    Pixels boxBack;
    std::vector<int> extensionsBack;
    std::vector<int> extensionsAfterUncheck;
    CDialogScript script;
    // Writer Document checked: its box shows the check.
    script.Press(ID_WIZNEXT).Then(SelectType(1)).Then(ClickCheckLine(IDC_DOC_TYPES, 1)).Then([&](HWND hDlg) {
        m_driver.Pump();
        HWND hList = CTestDriver::FindChild(hDlg, IDC_DOC_TYPES);
        checkedBox = ReadPixels(hList, BoxRect(hList, 1));
        uncheckedBox = ReadPixels(hList, BoxRect(hList, 0));
    });
    // Text Document shown, then the mode page, and back.
    script.Then(SelectType(0)).Press(ID_WIZNEXT).Press(ID_WIZBACK).Then([&](HWND hDlg) {
        m_driver.Pump();
        HWND hList = CTestDriver::FindChild(hDlg, IDC_DOC_TYPES);
        typesBack = CTestDriver::CheckListStates(hList);
        boxBack = ReadPixels(hList, BoxRect(hList, 1));
    });
    script.Then(SelectType(1)).Then([&](HWND hDlg) {
        extensionsBack = CTestDriver::CheckListStates(CTestDriver::FindChild(hDlg, IDC_DOC_EXTENSIONS));
    });
    // Unchecked again, Writer Document leaves the choice: Next is refused.
    script.Then(ClickCheckLine(IDC_DOC_TYPES, 1)).Then([&](HWND hDlg) {
        extensionsAfterUncheck = CTestDriver::CheckListStates(CTestDriver::FindChild(hDlg, IDC_DOC_EXTENSIONS));
    });
    script.Press(ID_WIZNEXT);
    script.Then(SelectType(0)).Then(ClickCheckLine(IDC_DOC_TYPES, 0)).Press(ID_WIZNEXT).Press(IDCANCEL);
    Answer(script);
    AnswerMessage(IDOK);

    ASSERT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_NE(checkedBox, uncheckedBox);
    EXPECT_EQ(typesBack, (std::vector<int> { BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED }));
    EXPECT_TRUE(boxBack == checkedBox) << "the box shows the check again";
    EXPECT_EQ(extensionsBack, std::vector<int> { BST_CHECKED });
    EXPECT_EQ(extensionsAfterUncheck, std::vector<int> { BST_UNCHECKED });
    EXPECT_EQ(m_messages, std::vector<CString> { Text(IDS_NO_EXTENSION_CHOSEN) });
    EXPECT_EQ(sheet.GetDocumentsPage().GetChosenExtensions(), (std::set<CString> { ".text", ".txt" }));
}
