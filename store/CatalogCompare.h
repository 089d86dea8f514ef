#pragma once

// Orders of catalog records in the tree and the document lists. A sort key
// (CSortSpec) names a column, the direction and whether sizes count in whole
// kilobytes. Node records sort before documents and by name whatever the
// column; documents by the column's value: texts without regard to case,
// dates, sizes and states as numbers. A descending key reverses the whole
// order, so that documents then come before nodes.

#include "store/CNodeRec.h"

class CCatalogRecord;

// The text of a document's text column: the full name, the description,
// the label, the secondary name or the type name; empty for other columns.
CString DocumentColumnText(const CDocumentRec& document, LONG nColumn);

// Compares two documents by the key's column in the key's direction: < 0 when
// the first sorts before the second. Column COLUMN_NAME compares the full names.
int SortDocumentItems(const CDocumentRec* pDocument1, const CDocumentRec* pDocument2, const CSortSpec& spec);

// Compares two records (CNodeRec or CDocumentRec) by the key, its direction
// applied: > 0 when the first sorts after the second. Records of other
// tables sort after both.
int CompareRecords(const CCatalogRecord* pRecord1, const CCatalogRecord* pRecord2, const CSortSpec& spec);

// The comparator of the tree's children and of the document list's rows:
// the items are CCatalogRecord pointers and lParamSort a CSortSpec pointer.
int CompareCatalogRecords(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

// Sorts documents by the key (stable: equal documents keep their order).
void SortDocuments(CDocumentRecArray& documents, const CSortSpec& spec);
