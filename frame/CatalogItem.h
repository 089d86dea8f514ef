#pragma once

// The catalog items the views pass between them (a row's or a tree item's
// record): copies that outlive the row, and their identity by block and slot.

#include <memory>

class CCatalogRecord;

// A copy of a document or node record; null for none or another kind.
std::unique_ptr<CCatalogRecord> CopyCatalogItem(const CCatalogRecord* pItem);
// Whether both name the same record (both none counts as the same).
bool IsSameCatalogItem(const CCatalogRecord* pItem1, const CCatalogRecord* pItem2);
