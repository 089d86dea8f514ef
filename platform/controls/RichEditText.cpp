#include "platform/controls/RichEditInternal.h"

#include "platform/base/TextFunctions.h"
#include "platform/gdi/Text.h"
#include "platform/window/Paint.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

// Removes the run boundary at cp when the run there has the format of the one before.
void JoinRunsAt(CRichEditState& state, LONG cp)
{
    auto it = state.runs.find(cp);
    if (it == state.runs.end() || it == state.runs.begin())
        return;
    if (std::prev(it)->second == it->second)
        state.runs.erase(it);
}

// Makes cp the start of a run (when it lies inside the text).
void SplitRunAt(CRichEditState& state, LONG cp)
{
    if (cp <= 0 || cp >= state.Length())
        return;
    auto it = state.runs.upper_bound(cp);
    const int iFormat = std::prev(it)->second;
    if (std::prev(it)->first != cp)
        state.runs.emplace_hint(it, cp, iFormat);
}

// Gives characters cpMin .. cpMax the format `change` makes of their own.
template<typename F> void ChangeFormats(CRichEditState& state, LONG cpMin, LONG cpMax, F&& change)
{
    if (cpMin >= cpMax)
        return;
    SplitRunAt(state, cpMin);
    SplitRunAt(state, cpMax);
    for (auto it = state.runs.find(cpMin); it != state.runs.end() && it->first < cpMax; ++it)
        it->second = change(it->second);
    // Runs may now meet their equals at the range's ends and inside it.
    std::vector<LONG> starts;
    for (auto it = state.runs.lower_bound(cpMin); it != state.runs.end() && it->first <= cpMax; ++it)
        starts.push_back(it->first);
    for (LONG cp : starts)
        JoinRunsAt(state, cp);
}

void DescribeFormat(const CRichFormat& format, CHARFORMAT* pcf)
{
    pcf->dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_COLOR;
    pcf->dwEffects = (format.bBold ? CFE_BOLD : 0) | (format.bAutoColor ? CFE_AUTOCOLOR : 0);
    pcf->yHeight = format.nHeight;
    pcf->yOffset = 0;
    pcf->crTextColor = format.crText;
    pcf->bCharSet = DEFAULT_CHARSET;
    pcf->bPitchAndFamily = 0;
    Utf8CopyToField(pcf->szFaceName, LF_FACESIZE, format.strFace.c_str(), FieldEnd::NulTerminated);
}

// Formats no character uses any more are dropped once they pile up, with the
// fonts made for them, so a control that shows one document after another
// keeps only what its text needs.
void DropUnusedFormats(CRichEditState& state)
{
    constexpr size_t FORMATS_KEPT_UNUSED = 64;
    if (state.formats.size() <= FORMATS_KEPT_UNUSED)
        return;
    std::vector<int> newIndex(state.formats.size(), -1);
    std::vector<CRichFormat> kept;
    auto keep = [&](int iFormat) {
        int& iNew = newIndex[static_cast<size_t>(iFormat)];
        if (iNew < 0) {
            iNew = static_cast<int>(kept.size());
            kept.push_back(state.formats[static_cast<size_t>(iFormat)]);
        }
        return iNew;
    };
    state.iDefault = keep(state.iDefault);
    if (state.iInsertion)
        state.iInsertion = keep(*state.iInsertion);
    for (auto& [cp, iFormat] : state.runs)
        iFormat = keep(iFormat);
    state.formats = std::move(kept);
    state.formatFonts.clear();
    state.fonts.clear();
}

bool IsWordCharacter(char32_t ch)
{
    return ch == '_' || IsCodePointAlphaNumeric(ch);
}

bool IsWholeWord(const std::u32string& text, size_t nStart, size_t nLength)
{
    return (nStart == 0 || !IsWordCharacter(text[nStart - 1]))
        && (nStart + nLength >= text.size() || !IsWordCharacter(text[nStart + nLength]));
}

} // namespace

/***** Text in and out *****/

std::u32string RichInputText(std::string_view text)
{
    std::u32string input = Utf32FromUtf8(text);
    size_t nOut = 0;
    for (size_t nIn = 0; nIn < input.size(); ++nIn) {
        char32_t ch = input[nIn];
        if (ch == '\r') {
            if (nIn + 1 < input.size() && input[nIn + 1] == '\n')
                ++nIn;
            ch = '\n';
        } else if ((ch < 0x20 && ch != '\t' && ch != '\n') || ch == 0x7F) {
            ch = REPLACEMENT;
        }
        input[nOut++] = ch;
    }
    input.resize(nOut);
    return input;
}

std::string RichOutputText(const CRichEditState& state, LONG cpMin, LONG cpMax)
{
    std::string out;
    out.reserve(static_cast<size_t>(std::max<LONG>(0, cpMax - cpMin)));
    for (LONG cp = cpMin; cp < cpMax; ++cp) {
        const char32_t ch = state.text[static_cast<size_t>(cp)];
        if (ch == '\n')
            out += "\r\n";
        else
            AppendUtf8(out, ch);
    }
    return out;
}

/***** Formats *****/

int InternFormat(CRichEditState& state, const CRichFormat& format)
{
    auto it = std::find(state.formats.begin(), state.formats.end(), format);
    if (it != state.formats.end())
        return static_cast<int>(it - state.formats.begin());
    state.formats.push_back(format);
    return static_cast<int>(state.formats.size()) - 1;
}

int FormatAt(const CRichEditState& state, LONG cp)
{
    if (state.runs.empty())
        return state.iDefault;
    auto it = state.runs.upper_bound(std::min(cp, state.Length() - 1));
    return std::prev(it)->second;
}

int ReplacementFormat(const CRichEditState& state)
{
    if (state.SelMin() < state.SelMax())
        return FormatAt(state, state.SelMin());
    if (state.iInsertion)
        return *state.iInsertion;
    return state.SelMin() > 0 ? FormatAt(state, state.SelMin() - 1) : FormatAt(state, 0);
}

CRichFormat MergedFormat(const CRichFormat& format, const CHARFORMAT& cf)
{
    CRichFormat merged = format;
    if (cf.dwMask & CFM_FACE)
        merged.strFace.assign(cf.szFaceName, strnlen(cf.szFaceName, LF_FACESIZE));
    if (cf.dwMask & CFM_SIZE)
        merged.nHeight = std::clamp<LONG>(cf.yHeight, 20, 32767);
    if (cf.dwMask & CFM_BOLD)
        merged.bBold = (cf.dwEffects & CFE_BOLD) != 0;
    if (cf.dwMask & CFM_COLOR) {
        merged.bAutoColor = (cf.dwEffects & CFE_AUTOCOLOR) != 0;
        merged.crText = cf.crTextColor & 0xFFFFFF;
    }
    return merged;
}

BOOL SetCharFormat(HWND hWnd, WPARAM nScope, const CHARFORMAT& cf)
{
    CRichEditState& state = *RichEditState(hWnd);
    // Formats that differ only in colour share their font, so a colour change lays nothing out again.
    const bool bLayoutChanges = (cf.dwMask & (CFM_FACE | CFM_SIZE | CFM_BOLD)) != 0;
    // Each format the change meets is merged once.
    std::unordered_map<int, int> merged;
    auto change = [&](int iFormat) {
        auto [it, bNew] = merged.try_emplace(iFormat, 0);
        if (bNew)
            it->second = InternFormat(state, MergedFormat(state.formats[static_cast<size_t>(iFormat)], cf));
        return it->second;
    };
    if (nScope & SCF_ALL) {
        ChangeFormats(state, 0, state.Length(), change);
    } else if (nScope & SCF_SELECTION) {
        if (state.SelMin() == state.SelMax()) {
            state.iInsertion = change(ReplacementFormat(state));
            return TRUE;
        }
        ChangeFormats(state, state.SelMin(), state.SelMax(), change);
    } else {
        const int iOld = state.iDefault;
        state.iDefault = change(iOld);
        ChangeFormats(
            state, 0, state.Length(), [&](int iFormat) { return iFormat == iOld ? state.iDefault : iFormat; });
    }
    DropUnusedFormats(state);
    CheckRichEditInvariants(state);
    if (bLayoutChanges)
        RichLayoutChanged(hWnd);
    else
        InvalidateRect(hWnd, nullptr, FALSE);
    return TRUE;
}

DWORD GetCharFormat(const CRichEditState& state, WPARAM nScope, CHARFORMAT* pcf)
{
    const bool bSelection = (nScope & SCF_SELECTION) && state.SelMin() < state.SelMax();
    const int iFirst = (nScope & SCF_SELECTION) ? ReplacementFormat(state) : state.iDefault;
    const CRichFormat& first = state.formats[static_cast<size_t>(iFirst)];
    DWORD dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_COLOR;
    if (bSelection) {
        auto it = std::prev(state.runs.upper_bound(state.SelMin()));
        for (; it != state.runs.end() && it->first < state.SelMax(); ++it) {
            const CRichFormat& other = state.formats[static_cast<size_t>(it->second)];
            if (other.strFace != first.strFace)
                dwMask &= ~CFM_FACE;
            if (other.nHeight != first.nHeight)
                dwMask &= ~CFM_SIZE;
            if (other.bBold != first.bBold)
                dwMask &= ~CFM_BOLD;
            if (other.bAutoColor != first.bAutoColor || (!other.bAutoColor && other.crText != first.crText))
                dwMask &= ~CFM_COLOR;
        }
    }
    DescribeFormat(first, pcf);
    pcf->dwMask = dwMask;
    return dwMask;
}

std::vector<RICHEDITRUN> GetRichEditRuns(HWND hWnd)
{
    std::vector<RICHEDITRUN> runs;
    const auto* pState = dynamic_cast<const CRichEditState*>(GetControlStateBase(hWnd));
    if (!pState)
        return runs;
    for (auto it = pState->runs.begin(); it != pState->runs.end(); ++it) {
        const auto next = std::next(it);
        RICHEDITRUN run { it->first, next == pState->runs.end() ? pState->Length() : next->first, {} };
        run.cf.cbSize = sizeof(CHARFORMAT);
        DescribeFormat(pState->formats[static_cast<size_t>(it->second)], &run.cf);
        runs.push_back(run);
    }
    return runs;
}

/***** Changing the text *****/

void ReplaceRange(HWND hWnd, LONG cpMin, LONG cpMax, std::u32string_view insert, int iFormat)
{
    CRichEditState& state = *RichEditState(hWnd);
    cpMin = std::clamp<LONG>(cpMin, 0, state.Length());
    cpMax = std::clamp<LONG>(cpMax, cpMin, state.Length());
    const LONG nRoom = std::max<LONG>(0, state.nLimit - (state.Length() - (cpMax - cpMin)));
    insert = insert.substr(0, static_cast<size_t>(std::min<LONG>(nRoom, static_cast<LONG>(insert.size()))));
    const auto nInserted = static_cast<LONG>(insert.size());
    const LONG nDelta = nInserted - (cpMax - cpMin);

    // The text after the range keeps its formats: its first run starts at cpMax.
    SplitRunAt(state, cpMax);
    state.runs.erase(state.runs.lower_bound(cpMin), state.runs.lower_bound(cpMax));
    if (nDelta != 0) {
        std::vector<std::pair<LONG, int>> moved(state.runs.lower_bound(cpMax), state.runs.end());
        state.runs.erase(state.runs.lower_bound(cpMax), state.runs.end());
        for (const auto& [cp, iRunFormat] : moved)
            state.runs.emplace_hint(state.runs.end(), cp + nDelta, iRunFormat);
    }
    state.text.replace(static_cast<size_t>(cpMin), static_cast<size_t>(cpMax - cpMin), insert);
    if (nInserted > 0)
        state.runs[cpMin] = iFormat;
    if (state.text.empty())
        state.runs.clear();
    JoinRunsAt(state, cpMin + nInserted);
    JoinRunsAt(state, cpMin);
    state.cpAnchor = state.cpCaret = cpMin + nInserted;
    state.iInsertion.reset();
    state.bLoweredValid = false;
    state.bCaretIntoView = true;
    DropUnusedFormats(state);
    CheckRichEditInvariants(state);
    RichLayoutChanged(hWnd);
}

void SetRichSelection(HWND hWnd, LONG cpAnchor, LONG cpCaret)
{
    CRichEditState& state = *RichEditState(hWnd);
    cpAnchor = std::clamp<LONG>(cpAnchor, 0, state.Length());
    cpCaret = std::clamp<LONG>(cpCaret, 0, state.Length());
    state.iInsertion.reset();
    if (cpAnchor == state.cpAnchor && cpCaret == state.cpCaret)
        return;
    const bool bRepaint = state.cpAnchor != state.cpCaret || cpAnchor != cpCaret;
    state.cpAnchor = cpAnchor;
    state.cpCaret = cpCaret;
    if (bRepaint)
        InvalidateRect(hWnd, nullptr, FALSE);
    PlaceRichCaret(hWnd);
}

/***** Finding *****/

LONG FindRichText(CRichEditState& state, WPARAM nFlags, FINDTEXTEX* pFind)
{
    pFind->chrgText = CHARRANGE { -1, -1 };
    if (!pFind->lpstrText || !*pFind->lpstrText)
        return -1;
    const bool bMatchCase = (nFlags & FR_MATCHCASE) != 0;
    std::u32string what = RichInputText(pFind->lpstrText);
    if (!bMatchCase) {
        for (char32_t& ch : what)
            ch = CodePointToLower(ch);
        if (!state.bLoweredValid) {
            state.lowered = state.text;
            for (char32_t& ch : state.lowered)
                ch = CodePointToLower(ch);
            state.bLoweredValid = true;
        }
    }
    const std::u32string& text = bMatchCase ? state.text : state.lowered;
    const std::u32string_view view(text);
    const LONG nLength = state.Length();
    const auto nWhat = static_cast<LONG>(what.size());
    auto limit = [&](LONG cp) { return cp < 0 ? nLength : std::min(cp, nLength); };
    LONG cpFound = -1;
    if (nFlags & FR_DOWN) {
        const LONG cpFrom = std::clamp<LONG>(pFind->chrg.cpMin, 0, nLength);
        const LONG cpTo = limit(pFind->chrg.cpMax);
        for (size_t nAt = view.find(what, static_cast<size_t>(cpFrom));
             nAt != std::u32string_view::npos && static_cast<LONG>(nAt) + nWhat <= cpTo;
             nAt = view.find(what, nAt + 1)) {
            if (!(nFlags & FR_WHOLEWORD) || IsWholeWord(text, nAt, what.size())) {
                cpFound = static_cast<LONG>(nAt);
                break;
            }
        }
    } else {
        // Backward: matches that end by cpMin and start at cpMax or later.
        const LONG cpFrom = limit(pFind->chrg.cpMin);
        const LONG cpTo = std::clamp<LONG>(pFind->chrg.cpMax, 0, nLength);
        LONG cpStart = cpFrom - nWhat;
        while (cpStart >= cpTo) {
            const size_t nAt = view.rfind(what, static_cast<size_t>(cpStart));
            if (nAt == std::u32string_view::npos || static_cast<LONG>(nAt) < cpTo)
                break;
            if (!(nFlags & FR_WHOLEWORD) || IsWholeWord(text, nAt, what.size())) {
                cpFound = static_cast<LONG>(nAt);
                break;
            }
            cpStart = static_cast<LONG>(nAt) - 1;
        }
    }
    if (cpFound >= 0)
        pFind->chrgText = CHARRANGE { cpFound, cpFound + nWhat };
    return cpFound;
}

#ifndef NDEBUG
void CheckRichEditInvariants(const CRichEditState& state)
{
    assert(state.runs.empty() == state.text.empty());
    assert(state.runs.empty() || state.runs.begin()->first == 0);
    int iPrevious = -1;
    for (const auto& [cp, iFormat] : state.runs) {
        assert(cp < state.Length());
        assert(iFormat != iPrevious);
        assert(iFormat >= 0 && static_cast<size_t>(iFormat) < state.formats.size());
        iPrevious = iFormat;
    }
    assert(state.cpAnchor >= 0 && state.cpAnchor <= state.Length());
    assert(state.cpCaret >= 0 && state.cpCaret <= state.Length());
}
#endif
