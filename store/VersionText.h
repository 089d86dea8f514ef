#pragma once

// The text that marks a document's version in a copy's file name, such as
// "_v#": "#" stands for the version number, and the text goes before or after
// the name's base. The preferences store only texts this rule accepts, and the
// preference page refuses the others, so a text the user typed is never
// replaced by the default at the next start.

#include "platform/base/CString.h"

constexpr int MAX_VERSION_TEXT_LENGTH = 15;
// The characters a version text may not hold: they separate paths or lists.
constexpr char VERSION_TEXT_FORBIDDEN[] = "\"\\/:|<>+=;,?*";

// 1 to MAX_VERSION_TEXT_LENGTH characters, none of VERSION_TEXT_FORBIDDEN,
// exactly one '#'.
bool IsValidVersionText(const CString& strText);

// The file name a version text gives: its first '#' replaced by the version,
// the text before the base (bBefore) or after it, then strExtension (without
// its '.'; none when empty).
CString VersionedFileName(
    const CString& strText, const CString& strBase, const CString& strExtension, BOOL bBefore, int nVersion);
