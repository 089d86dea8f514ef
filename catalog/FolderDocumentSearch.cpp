#include "catalog/FolderDocumentSearch.h"

#include "catalog/CTextSearch.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"

#include <memory>

namespace {

std::vector<CString> SplitWords(const CString& strText)
{
    std::vector<CString> words;
    CString strWord;
    for (int i = 0; i <= strText.GetLength(); ++i) {
        const TCHAR ch = i < strText.GetLength() ? strText[i] : _T(' ');
        if (ch != _T(' ') && ch != _T('\t')) {
            strWord += ch;
        } else if (!strWord.IsEmpty()) {
            words.push_back(strWord);
            strWord.Empty();
        }
    }
    return words;
}

// The folder lower-cased and ending with a backslash, "" for everywhere.
CString FolderPrefix(CString strFolder)
{
    strFolder.Trim();
    if (!strFolder.IsEmpty() && strFolder[strFolder.GetLength() - 1] != _T('\\'))
        strFolder += _T('\\');
    return strFolder.MakeLower();
}

} // namespace

std::vector<CRecordRef> FindDocumentsInFolder(CCatalog& catalog, const CFolderSearchQuery& query)
{
    std::vector<CRecordRef> found;
    if (!catalog.Acquire())
        return found;
    // The records are loaded after the pass: its visit may not call the file.
    std::vector<CRecordRef> refs;
    (void)catalog.ForEachTableRecord(
        TABLE_DOCUMENT, [&](CRecordRef ref, std::span<const BYTE>) { refs.push_back(ref); });

    const CString strPrefix = FolderPrefix(query.strFolder);
    const std::vector<CString> words = SplitWords(query.strWords);
    const int nField = query.bContents ? CTextSearch::FIELD_CONTENT : CTextSearch::FIELD_NAME;
    for (const CRecordRef& ref : refs) {
        const auto pDocument = std::make_unique<CDocumentRec>(&catalog, ref.nBlock, ref.nSlot);
        if (!pDocument->IsValid() || pDocument->IsMail())
            continue;
        CString strFolder = pDocument->GetDirectoryPath(TRUE);
        if (strFolder.MakeLower().Left(strPrefix.GetLength()) != strPrefix)
            continue;
        if (words.empty()
            || CTextSearch::SetCriteria(*pDocument, words, nField, CTextSearch::MODE_ALL_WORDS, FALSE) == 1)
            found.push_back(ref);
    }
    catalog.Release();
    return found;
}
