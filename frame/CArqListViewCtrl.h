#pragma once

// CArqListViewCtrl: the document list of a catalog view (CArqListView). It
// adds to CArqListCtrl what the user arranges: three view styles, per column
// a width for the details style and one for the list style (0 hides the
// column) and a display position, whether names show their extension in each
// style, whether sizes show in kilobytes, the sort column and the list filter.
//
// The arrangement is kept in the registry: program-wide under the
// "Preferences" key (the column layout and the three flags, written at every
// change) and per catalog view under its layout key's "ListView" subkey
// (written when the view's layout is saved). Values of the wrong type or
// size are ignored; a missing "Preferences" key gets the defaults.
//
// It reports CArqListCtrl's run-time class: drop targets and the windows
// that ask which list they talk to treat both alike.

#include "frame/CArqListCtrl.h"
#include "frame/ListViewSettings.h"
#include "store/PreferenceSheets.h"

#include <vector>

class CArqListViewCtrl : public CArqListCtrl {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int STYLE_ICONS = LIST_STYLE_ICONS;
    static constexpr int STYLE_DETAILS = LIST_STYLE_DETAILS;
    static constexpr int STYLE_LIST = LIST_STYLE_LIST;
    static constexpr int COLUMN_COUNT = LIST_COLUMN_COUNT;
    static constexpr char SETTINGS_KEY[] = "ListView"; // below a catalog view's layout key

    CArqListViewCtrl() = default;

    // The family's set-up, then the view style from the window's style.
    BOOL Initialize();

    /* Styles and columns. */

    int GetViewStyle() const { return m_nViewStyle; }
    // Ends the editors and shows style 0, 1 or 3 with its widths and extension flag.
    void SetViewStyle(int nStyle);
    // Shows (with its last width, else its default) or hides a column; the
    // width applies at once in the details style.
    void SetColumnVisible(LONG nColumnId, BOOL bShow);
    BOOL IsColumnVisible(LONG nColumnId) const;
    const std::vector<CColumnLayout>& GetColumnLayout() const { return m_layout; }

    /* The preferences' choices. */

    void GetVisibleColumns(CListColumnChoices* pChoices, BOOL* pbListExtension) const;
    // Applies the choices, saves them under "Preferences" and repaints.
    void ApplyColumnChoices(const CListColumnChoices& choices, BOOL bListExtension);

    /* The registry. */

    // Reads the program-wide layout (writing the defaults when there is none)
    // and inserts the columns.
    void LoadDefaultColumns();
    // Writes the layout and the three flags under "Preferences"; FALSE at the
    // first value that cannot be written.
    BOOL SaveDefaultColumns();
    // The catalog view's settings under hParent\pszPath\"ListView".
    void LoadSettings(HKEY hParent, LPCTSTR pszPath);
    void SaveSettings(HKEY hParent, LPCTSTR pszPath);

protected:
    // The view style commands: large icons, details, list; the style shown is checked.
    void OnViewLargeIcons() { SetViewStyle(STYLE_ICONS); }
    void OnViewDetails() { SetViewStyle(STYLE_DETAILS); }
    void OnViewList() { SetViewStyle(STYLE_LIST); }
    void OnUpdateViewStyle(CCmdUI* pCmdUI);
    void OnHeaderEndTrack(NMHDR* pNMHDR, LRESULT* pResult);
    void OnViewHeaderBeginTrack(NMHDR* pNMHDR, LRESULT* pResult);
    void OnViewHeaderDividerDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    void OnViewHeaderEndDrag(NMHDR* pNMHDR, LRESULT* pResult);

private:
    // The width of "a" in the list's font: the unit of the default widths.
    int CharWidth();
    void ResetColumnLayout();
    // The list style's resizable columns: name and description.
    static BOOL IsListStyleResizable(LONG nColumnId);
    // Stores a width the user gave a column in the current style's field.
    void KeepColumnWidth(int nColumn, int nWidth);

    int m_nViewStyle { STYLE_DETAILS };
    std::vector<CColumnLayout> m_layout;
    BOOL m_bDetailExtension { TRUE };
    BOOL m_bListExtension { TRUE };
};
