#pragma once

// Finding an item by typing the start of its text, as the tree and list views
// do: the characters typed in quick succession make one prefix; a pause
// starts a new one. Typing one letter again and again steps through the items
// that start with it.

#include "platform/base/WinTypes.h"

#include <functional>
#include <string>

class CTypeAhead {
public:
    // How long a pause between two characters starts a new prefix.
    static constexpr ULONGLONG PAUSE_MS = 1000;

    // Takes a typed character (its time in milliseconds) and returns the item
    // of nCount to go to, from the one at nCaret (-1 for none) on and round
    // again; -1 when no item's text starts with what was typed. A space that
    // would start a prefix is not taken (-1), so it keeps its own meaning.
    int Type(char ch, ULONGLONG nNow, int nCount, int nCaret, const std::function<std::string(int)>& textOf);

private:
    std::string m_strTyped;
    ULONGLONG m_nLastTyped { 0 };
};
