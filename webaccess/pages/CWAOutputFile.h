#pragma once

// The output of one web reply. Normally a zip archive holding the single entry
// "DUMMY" (deflate, default level, stamped with the local time at Open); the
// download command may switch it to a plain file. The caller opens it, lets
// the command write tokens, bytes and pages, writes the closing token and
// calls Close; the destructor closes what is still open.
//
// Fragment writers call Write once per piece and ignore its result, so a
// failing disk gives a short reply, never an exception out of a page writer;
// the output remembers the failure (HasWriteFailed) for the command to report.
// Texts named by a string number are loaded from the resource module when
// they are written.

#include "platform/base/CFile.h"
#include "platform/base/CString.h"
#include "platform/base/ZipWriter.h"

#include <span>

class CWAOutputFile {
public:
    CWAOutputFile() = default;
    virtual ~CWAOutputFile() = default;
    CWAOutputFile(const CWAOutputFile&) = delete;
    CWAOutputFile& operator=(const CWAOutputFile&) = delete;

    /* The file. pszPath is a program path. */

    // Creates the archive with its entry "DUMMY" (bZip) or a plain file,
    // replacing what is there. FALSE when it cannot be created; nothing may
    // be written then.
    BOOL Open(LPCTSTR pszPath, BOOL bZip);
    // Finishes the entry (unless a zip write failed) and the archive, or
    // closes the plain file.
    void Close();
    // Reopens the file in the other form, dropping what was written; the
    // current form changes nothing.
    void SetZipMode(BOOL bZip);
    // FALSE when the bytes could not be written.
    BOOL Write(const void* pBuffer, UINT nCount);
    // Writes the text without its NUL, ignoring the result like the fragment writers.
    void WriteText(LPCTSTR pszText);
    // TRUE once a write since the last Open has failed: the reply is short.
    BOOL HasWriteFailed() const { return m_bWriteFailed; }

    /* Document frame. */

    void BeginHtmlBlock(LPCTSTR pszBlock);
    void EndHtmlBlock();
    void WriteHtmlBegin();
    void WriteHtmlEnd();
    void WriteHeadBegin(LPCTSTR pszTitle);
    void WriteHeadEnd();
    void WriteNoCacheMeta();
    void WriteStyleSheet();
    void WriteBodyBegin();
    void WriteBodyEnd();
    void WriteRowBegin();
    void WriteRowEnd();
    void WriteTopBar100();
    void WriteTopBar780();

    /* Title bar, toolbar and search form. A link attribute is the text inside
       an anchor tag after its name, or empty for an item without a link. */

    // One item per string ID, with the link attribute of the same index.
    void WriteTitleBar(std::span<const UINT> stringIds, std::span<const CString> links);
    void WriteToolbarBegin();
    void WriteLoginCell();
    void WriteLoginCellWithView(LPCTSTR pszLink1, LPCTSTR pszLink2);
    void WriteFillerCell();
    // nMatchMode and nSearchField are numbers of the search tables (WebText.h);
    // a number in no row marks no option selected. The search text comes from
    // the request, so it is written through HtmlEscape (keeping no line
    // breaks): a quote or '<' in it cannot end the input's value or open markup.
    void WriteSearchForm(LPCTSTR pszText, int nMatchMode, int nSearchField);
    void WriteChangeCatalogLink();
    void WriteToolbarEnd();

    /* Tab strip: WriteTabsBegin, one strip writer (link attributes of the two
       tabs that are not current, in tab order), the page's wide cell, the
       matching underline writer, WriteTabsEnd. */

    void WriteTabsBegin();
    void WriteTabsFirstActive(LPCTSTR pszLink1, LPCTSTR pszLink2);
    void WriteTabsSecondActive(LPCTSTR pszLink1, LPCTSTR pszLink2);
    void WriteTabsThirdActive(LPCTSTR pszLink1, LPCTSTR pszLink2);
    void WriteWideCellBegin();
    void WriteCellEnd();
    void WriteTabsFirstActiveEnd();
    void WriteTabsSecondActiveEnd();
    void WriteTabsThirdActiveEnd();
    void WriteTabsEnd();

    /* Menu layers of the file lists: "MIE" for most browsers, "MN" when the
       session's browser flag is set. A non-zero pair selector numbers the
       items 0 and 1, zero numbers them 2 and 3. */

    void WriteMenuLayerIE(BOOL bFirstEnabled, BOOL bPairSelector);
    void WriteMenuLayerNS(BOOL bFirstEnabled, BOOL bPairSelector);

private:
    BOOL WriteBytes(const void* pBuffer, UINT nCount);
    void WriteMenuItems(BOOL bFirstEnabled, BOOL bPairSelector, LPCTSTR pszItemBegin, LPCTSTR pszItemEnd);

    CString m_strName;    // The path given to the last Open
    BOOL m_bZip { TRUE }; // The output is the zip entry
    CFile m_file;         // Used while m_bZip is FALSE
    CZipWriter m_zip;     // Used while m_bZip is TRUE
    BOOL m_bWriteFailed { FALSE };
};

/* Test seam. */

// Makes the nWrite-th reply write from now (1 = the next one), in any output of
// the process, fail before it writes a byte; 0 disarms.
void SetReplyWriteFailure(int nWrite);
