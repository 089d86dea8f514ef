#include "store/CLocationRec.h"

#include "store/RecordFields.h"

#include <cassert>
#include <cstring>

static_assert(SlotCount(CLocationRec::RECORD_SIZE) == 9);

CLocationRec::CLocationRec(CCatalogFile* pDatabase, CRecordRef ref)
    : CCatalogRecord(pDatabase, TABLE_LOCATION, ref)
{
}

std::string CLocationRec::GetText() const
{
    const char* pText = reinterpret_cast<const char*>(GetData().data() + OFF_TEXT);
    return std::string(pText, strnlen(pText, TEXT_SIZE));
}

void CLocationRec::SetText(std::string_view text)
{
    assert(text.size() < static_cast<std::size_t>(TEXT_SIZE));
    std::span<BYTE> data = GetData();
    std::memset(data.data() + OFF_TEXT, 0, TEXT_SIZE);
    std::memcpy(data.data() + OFF_TEXT, text.data(), text.size());
}
