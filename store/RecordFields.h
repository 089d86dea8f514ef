#pragma once

// Reading and writing the fields of a record buffer: 32-bit numbers, 16-bit
// words, references and fixed UTF-8 text fields. Every record class keeps its
// field offsets as constants and goes through these.

#include "platform/base/CString.h"
#include "platform/base/TextFunctions.h"
#include "store/CatalogTypes.h"

#include <cstring>
#include <span>

inline LONG GetLongField(std::span<const BYTE> data, int nOffset)
{
    return ReadLong(data.data() + nOffset);
}
inline void SetLongField(std::span<BYTE> data, int nOffset, LONG nValue)
{
    WriteLong(data.data() + nOffset, nValue);
}

inline WORD GetWordField(std::span<const BYTE> data, int nOffset)
{
    return static_cast<WORD>(
        data[static_cast<std::size_t>(nOffset)] | data[static_cast<std::size_t>(nOffset) + 1] << 8);
}
inline void SetWordField(std::span<BYTE> data, int nOffset, WORD wValue)
{
    data[static_cast<std::size_t>(nOffset)] = static_cast<BYTE>(wValue);
    data[static_cast<std::size_t>(nOffset) + 1] = static_cast<BYTE>(wValue >> 8);
}

// A reference is a block number followed by a slot number.
inline CRecordRef GetRefField(std::span<const BYTE> data, int nOffset)
{
    return { ReadLong(data.data() + nOffset), ReadLong(data.data() + nOffset + 4) };
}
inline void SetRefField(std::span<BYTE> data, int nOffset, CRecordRef ref)
{
    WriteLong(data.data() + nOffset, ref.nBlock);
    WriteLong(data.data() + nOffset + 4, ref.nSlot);
}

// A text field of nSize bytes: the text up to its first NUL or the field's end,
// so a damaged field without a NUL still reads as a bounded text.
inline CString GetTextField(std::span<const BYTE> data, int nOffset, int nSize)
{
    const char* pText = reinterpret_cast<const char*>(data.data() + nOffset);
    const void* pNul = std::memchr(pText, 0, static_cast<std::size_t>(nSize));
    std::size_t nLength
        = pNul ? static_cast<std::size_t>(static_cast<const char*>(pNul) - pText) : static_cast<std::size_t>(nSize);
    return CString(pText, static_cast<int>(nLength));
}
// Stores pszText NUL-terminated, cut at a character boundary; returns the bytes kept.
inline std::size_t SetTextField(std::span<BYTE> data, int nOffset, int nSize, LPCTSTR pszText)
{
    return Utf8CopyToField(reinterpret_cast<char*>(data.data() + nOffset), static_cast<std::size_t>(nSize), pszText,
        FieldEnd::NulTerminated);
}
