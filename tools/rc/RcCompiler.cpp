#include "tools/rc/RcCompiler.h"

#include "platform/base/ResourceFormat.h"
#include "platform/base/TextFunctions.h"
#include "tools/rc/RcLexer.h"
#include "tools/rc/RcSymbols.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>

namespace {

namespace fs = std::filesystem;

// Headers may include headers; this bounds a cycle.
constexpr int MAX_INCLUDE_DEPTH = 16;

constexpr BYTE PNG_SIGNATURE[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
constexpr COLORREF MAGENTA = 0x00FF00FF; // the transparent colour of images without transparency of their own

/******************************************************************************
** Token stream with one token of lookahead
******************************************************************************/

class CRcTokens {
public:
    explicit CRcTokens(std::unique_ptr<CRcLexer> pLexer)
        : m_pLexer(std::move(pLexer))
        , m_next(m_pLexer->Next())
    {
    }

    const RcToken& Peek() const { return m_next; }
    RcToken Take()
    {
        RcToken token = std::move(m_next);
        m_next = m_pLexer->Next();
        return token;
    }
    bool TakeIf(RcTokenKind eKind, std::string_view text)
    {
        if (!m_next.Is(eKind, text))
            return false;
        Take();
        return true;
    }
    const std::string& File() const { return m_pLexer->File(); }
    [[noreturn]] void Fail(int nLine, const std::string& strMessage) const
    {
        throw CRcError(File(), nLine, strMessage);
    }
    [[noreturn]] void Fail(const std::string& strMessage) const { Fail(m_next.nLine, strMessage); }

private:
    std::unique_ptr<CRcLexer> m_pLexer;
    RcToken m_next;
};

std::string ReadWholeFile(const fs::path& path, bool& bOk)
{
    std::ifstream in(path, std::ios::binary);
    bOk = static_cast<bool>(in);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A style: bits to set, and bits that NOT clears from the control's defaults.
struct StyleBits {
    DWORD dwSet { 0 };
    DWORD dwClear { 0 };

    DWORD Apply(DWORD dwDefault) const { return (dwDefault | dwSet) & ~dwClear; }
};

// The shorthand control statements and what they stand for.
struct ControlKind {
    std::string_view keyword;
    std::string_view className;
    std::string_view defaultStyles; // builtin style names, '|'-separated
    bool bHasText;
};

// clang-format off
constexpr ControlKind CONTROL_KINDS[] = {
    { "LTEXT",           "Static",    "SS_LEFT|WS_GROUP",                true  },
    { "RTEXT",           "Static",    "SS_RIGHT|WS_GROUP",               true  },
    { "CTEXT",           "Static",    "SS_CENTER|WS_GROUP",              true  },
    { "ICON",            "Static",    "SS_ICON",                         true  },
    { "PUSHBUTTON",      "Button",    "BS_PUSHBUTTON|WS_TABSTOP",        true  },
    { "DEFPUSHBUTTON",   "Button",    "BS_DEFPUSHBUTTON|WS_TABSTOP",     true  },
    { "CHECKBOX",        "Button",    "BS_CHECKBOX|WS_TABSTOP",          true  },
    { "AUTOCHECKBOX",    "Button",    "BS_AUTOCHECKBOX|WS_TABSTOP",      true  },
    { "STATE3",          "Button",    "BS_3STATE|WS_TABSTOP",            true  },
    { "AUTO3STATE",      "Button",    "BS_AUTO3STATE|WS_TABSTOP",        true  },
    { "RADIOBUTTON",     "Button",    "BS_RADIOBUTTON",                  true  },
    { "AUTORADIOBUTTON", "Button",    "BS_AUTORADIOBUTTON",              true  },
    { "GROUPBOX",        "Button",    "BS_GROUPBOX",                     true  },
    { "EDITTEXT",        "Edit",      "ES_LEFT|WS_BORDER|WS_TABSTOP",    false },
    { "COMBOBOX",        "ComboBox",  "CBS_SIMPLE|WS_TABSTOP",           false },
    { "LISTBOX",         "ListBox",   "LBS_NOTIFY|WS_BORDER",            false },
    { "SCROLLBAR",       "ScrollBar", "SBS_HORZ",                        false },
};

constexpr std::pair<std::string_view, UINT> MENU_OPTIONS[] = {
    { "GRAYED", MF_GRAYED }, { "INACTIVE", MF_DISABLED }, { "CHECKED", MF_CHECKED },
    { "MENUBARBREAK", MF_MENUBARBREAK }, { "MENUBREAK", MF_MENUBREAK }, { "HELP", MF_HELP },
};

constexpr std::pair<std::string_view, BYTE> ACCELERATOR_OPTIONS[] = {
    { "VIRTKEY", FVIRTKEY }, { "ASCII", 0 }, { "NOINVERT", FNOINVERT },
    { "SHIFT", FSHIFT }, { "CONTROL", FCONTROL }, { "ALT", FALT },
};
// clang-format on

DWORD BuiltinStyles(std::string_view names)
{
    DWORD dwStyle = 0;
    while (!names.empty()) {
        size_t nBar = names.find('|');
        dwStyle |= static_cast<DWORD>(RcBuiltinSymbol(names.substr(0, nBar)).value_or(0));
        names = nBar == std::string_view::npos ? std::string_view() : names.substr(nBar + 1);
    }
    return dwStyle;
}

/******************************************************************************
** The compiler
******************************************************************************/

class CRcCompiler {
public:
    explicit CRcCompiler(fs::path script)
        : m_script(std::move(script))
    {
    }

    RcOutput Run();

private:
    // Files and headers.
    std::unique_ptr<CRcLexer> OpenSource(const fs::path& path, const std::string& strFrom, int nFromLine);
    void ReadHeader(const fs::path& path, const std::string& strFrom, int nFromLine, int nDepth);
    void HandleDirective(const RcToken& directive, const std::string& strFile, const fs::path& folder, int nDepth);
    std::vector<BYTE> ReadDataFile(CRcTokens& tokens, const RcToken& name);

    // Expressions.
    LONGLONG Expression(CRcTokens& tokens);
    LONGLONG Unary(CRcTokens& tokens);
    LONGLONG Number(CRcTokens& tokens, LONGLONG nMin, LONGLONG nMax, const char* pszWhat);
    StyleBits Style(CRcTokens& tokens);
    std::string Text(CRcTokens& tokens, const char* pszWhat);
    void Expect(CRcTokens& tokens, std::string_view punct);
    void ExpectBegin(CRcTokens& tokens);
    bool TakeEnd(CRcTokens& tokens);

    // Statements.
    void Statement(CRcTokens& tokens);
    void StringTable(CRcTokens& tokens);
    void Dialog(CRcTokens& tokens, const ResourceKey& name, int nLine);
    std::vector<BYTE> DialogInit(CRcTokens& tokens);
    DialogControlTemplate Control(CRcTokens& tokens, const RcToken& keyword);
    std::vector<MenuItemTemplate> MenuItems(CRcTokens& tokens, UINT nDepth);
    UINT MenuOptions(CRcTokens& tokens);
    std::vector<BYTE> Accelerators(CRcTokens& tokens);
    std::vector<BYTE> Toolbar(CRcTokens& tokens);
    std::vector<BYTE> AnimationClip(CRcTokens& tokens);
    std::vector<BYTE> InlineData(CRcTokens& tokens);
    void Add(CRcTokens& tokens, int nLine, WORD nType, ResourceKey name, std::vector<BYTE> data);
    void Add(CRcTokens& tokens, int nLine, ResourceKey type, ResourceKey name, std::vector<BYTE> data);

    fs::path m_script;
    fs::path m_folder; // of the script: file names in it are relative to here
    std::map<std::string, LONGLONG> m_symbols;
    std::map<std::pair<ResourceKey, ResourceKey>, int> m_definedAt; // line of each resource
    std::vector<ResourceItem> m_items;
    std::map<UINT, std::pair<std::string, int>> m_strings; // ID -> text, line
    RcOutput m_output;
};

RcOutput CRcCompiler::Run()
{
    m_folder = m_script.parent_path();
    CRcTokens tokens(OpenSource(m_script, "", 0));
    while (tokens.Peek().eKind != RcTokenKind::End) {
        if (tokens.Peek().eKind == RcTokenKind::Directive)
            HandleDirective(tokens.Take(), tokens.File(), m_folder, 0);
        else
            Statement(tokens);
    }

    std::map<UINT, std::vector<std::string>> blocks;
    for (auto& [nID, text] : m_strings) {
        auto& block = blocks[nID / STRINGS_PER_BLOCK + 1];
        block.resize(STRINGS_PER_BLOCK);
        block[nID % STRINGS_PER_BLOCK] = std::move(text.first);
    }
    for (const auto& [nBlock, strings] : blocks) {
        m_items.push_back({ ResourceKey::FromId(RESOURCE_TYPE_STRING), ResourceKey::FromId(static_cast<WORD>(nBlock)),
            WriteStringBlock(strings) });
    }
    m_output.module = WriteResourceModule(std::move(m_items));
    return std::move(m_output);
}

/******************************************************************************
** Files and headers
******************************************************************************/

std::unique_ptr<CRcLexer> CRcCompiler::OpenSource(const fs::path& path, const std::string& strFrom, int nFromLine)
{
    bool bOk = false;
    std::string text = ReadWholeFile(path, bOk);
    if (!bOk) {
        if (strFrom.empty())
            throw CRcError(path.string(), 0, "cannot read the file");
        throw CRcError(strFrom, nFromLine, "cannot read " + path.string());
    }
    m_output.inputs.push_back(path);
    return std::make_unique<CRcLexer>(path.string(), std::move(text));
}

// An ID header holds only directives: #pragma once, #define NAME value, and
// #include of further headers. Its values may use names defined before them.
void CRcCompiler::ReadHeader(const fs::path& path, const std::string& strFrom, int nFromLine, int nDepth)
{
    if (nDepth >= MAX_INCLUDE_DEPTH)
        throw CRcError(strFrom, nFromLine, "headers include each other too deeply");
    CRcTokens tokens(OpenSource(path, strFrom, nFromLine));
    while (tokens.Peek().eKind != RcTokenKind::End) {
        RcToken token = tokens.Take();
        if (token.eKind != RcTokenKind::Directive)
            tokens.Fail(token.nLine, "an ID header may hold only #define, #include and #pragma once lines");
        HandleDirective(token, tokens.File(), path.parent_path(), nDepth + 1);
    }
}

void CRcCompiler::HandleDirective(
    const RcToken& directive, const std::string& strFile, const fs::path& folder, int nDepth)
{
    CRcTokens tokens(std::make_unique<CRcLexer>(strFile, directive.strText, directive.nLine));
    RcToken name = tokens.Take();
    if (name.Is(RcTokenKind::Identifier, "include")) {
        RcToken file = tokens.Take();
        if (file.eKind != RcTokenKind::String || tokens.Peek().eKind != RcTokenKind::End)
            tokens.Fail(directive.nLine, "expected #include \"file\"");
        ReadHeader(folder / file.strText, strFile, directive.nLine, nDepth);
    } else if (name.Is(RcTokenKind::Identifier, "define")) {
        RcToken symbol = tokens.Take();
        if (symbol.eKind != RcTokenKind::Identifier)
            tokens.Fail(directive.nLine, "expected a name after #define");
        if (tokens.Peek().eKind == RcTokenKind::End)
            tokens.Fail(directive.nLine, symbol.strText + " has no value");
        LONGLONG nValue = Expression(tokens);
        if (tokens.Peek().eKind != RcTokenKind::End)
            tokens.Fail(directive.nLine, "unexpected text after the value of " + symbol.strText);
        std::optional<LONGLONG> nOld = m_symbols.contains(symbol.strText) ? std::optional(m_symbols[symbol.strText])
                                                                          : RcBuiltinSymbol(symbol.strText);
        if (nOld && *nOld != nValue)
            tokens.Fail(directive.nLine, symbol.strText + " is defined again with another value");
        m_symbols[symbol.strText] = nValue;
    } else if (name.Is(RcTokenKind::Identifier, "pragma") && tokens.Peek().Is(RcTokenKind::Identifier, "once")) {
        return;
    } else {
        tokens.Fail(directive.nLine, "unsupported directive #" + name.strText);
    }
}

std::vector<BYTE> CRcCompiler::ReadDataFile(CRcTokens& tokens, const RcToken& name)
{
    fs::path path = m_folder / name.strText;
    bool bOk = false;
    std::string bytes = ReadWholeFile(path, bOk);
    if (!bOk)
        tokens.Fail(name.nLine, "cannot read " + name.strText);
    m_output.inputs.push_back(path);
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

/******************************************************************************
** Expressions: numbers and names joined left to right by | & + -
******************************************************************************/

LONGLONG CRcCompiler::Expression(CRcTokens& tokens)
{
    LONGLONG nValue = Unary(tokens);
    for (;;) {
        const RcToken& next = tokens.Peek();
        if (next.eKind != RcTokenKind::Punct || std::string_view("|&+-").find(next.strText) == std::string_view::npos)
            return nValue;
        char cOp = tokens.Take().strText[0];
        LONGLONG nRight = Unary(tokens);
        switch (cOp) {
        case '|':
            nValue |= nRight;
            break;
        case '&':
            nValue &= nRight;
            break;
        case '+':
            nValue += nRight;
            break;
        default:
            nValue -= nRight;
            break;
        }
        // Values stay within 32 bits, signed or not, so no sum can overflow.
        if (nValue < -0x80000000LL || nValue > 0xFFFFFFFFLL)
            tokens.Fail("value does not fit in 32 bits");
    }
}

LONGLONG CRcCompiler::Unary(CRcTokens& tokens)
{
    RcToken token = tokens.Take();
    if (token.Is(RcTokenKind::Punct, "-"))
        return -Unary(tokens);
    if (token.Is(RcTokenKind::Punct, "~")) {
        DWORD dwComplement = ~static_cast<DWORD>(Unary(tokens)); // complements within 32 bits
        return dwComplement;
    }
    if (token.Is(RcTokenKind::Punct, "(")) {
        LONGLONG nValue = Expression(tokens);
        Expect(tokens, ")");
        return nValue;
    }
    if (token.eKind == RcTokenKind::Number)
        return token.nValue;
    if (token.eKind == RcTokenKind::Identifier) {
        if (auto it = m_symbols.find(token.strText); it != m_symbols.end())
            return it->second;
        if (auto nValue = RcBuiltinSymbol(token.strText))
            return *nValue;
        tokens.Fail(token.nLine, token.strText + " is not defined");
    }
    tokens.Fail(token.nLine, "expected a number or a defined name");
}

LONGLONG CRcCompiler::Number(CRcTokens& tokens, LONGLONG nMin, LONGLONG nMax, const char* pszWhat)
{
    int nLine = tokens.Peek().nLine;
    LONGLONG nValue = Expression(tokens);
    if (nValue < nMin || nValue > nMax)
        tokens.Fail(nLine,
            std::string(pszWhat) + " " + std::to_string(nValue) + " is outside " + std::to_string(nMin) + ".."
                + std::to_string(nMax));
    return nValue;
}

// Terms joined by '|'; "NOT term" removes those bits from the defaults.
StyleBits CRcCompiler::Style(CRcTokens& tokens)
{
    StyleBits style;
    do {
        bool bNot = tokens.TakeIf(RcTokenKind::Identifier, "NOT");
        auto dwBits = static_cast<DWORD>(Unary(tokens));
        if (bNot) {
            style.dwClear |= dwBits;
            style.dwSet &= ~dwBits;
        } else {
            style.dwSet |= dwBits;
        }
    } while (tokens.TakeIf(RcTokenKind::Punct, "|"));
    return style;
}

std::string CRcCompiler::Text(CRcTokens& tokens, const char* pszWhat)
{
    RcToken token = tokens.Take();
    if (token.eKind != RcTokenKind::String)
        tokens.Fail(token.nLine, std::string("expected ") + pszWhat + " in quotes");
    if (!IsValidUtf8(token.strText))
        tokens.Fail(token.nLine, std::string(pszWhat) + " is not valid UTF-8");
    if (token.strText.size() > MAX_RESOURCE_STRING_BYTES)
        tokens.Fail(token.nLine, std::string(pszWhat) + " is longer than 65535 bytes");
    return std::move(token.strText);
}

void CRcCompiler::Expect(CRcTokens& tokens, std::string_view punct)
{
    if (!tokens.TakeIf(RcTokenKind::Punct, punct))
        tokens.Fail("expected '" + std::string(punct) + "'");
}

void CRcCompiler::ExpectBegin(CRcTokens& tokens)
{
    if (!tokens.TakeIf(RcTokenKind::Identifier, "BEGIN") && !tokens.TakeIf(RcTokenKind::Punct, "{"))
        tokens.Fail("expected BEGIN");
}

bool CRcCompiler::TakeEnd(CRcTokens& tokens)
{
    if (tokens.Peek().eKind == RcTokenKind::End)
        tokens.Fail("END is missing");
    return tokens.TakeIf(RcTokenKind::Identifier, "END") || tokens.TakeIf(RcTokenKind::Punct, "}");
}

/******************************************************************************
** Statements
******************************************************************************/

void CRcCompiler::Statement(CRcTokens& tokens)
{
    RcToken first = tokens.Take();
    if (first.Is(RcTokenKind::Identifier, "STRINGTABLE")) {
        StringTable(tokens);
        return;
    }

    // The resource's name: a number, a defined ID, or a name in quotes.
    ResourceKey name;
    if (first.eKind == RcTokenKind::String) {
        if (first.strText.empty() || first.strText[0] == '#' || !IsValidUtf8(first.strText))
            tokens.Fail(first.nLine, "a resource name must be non-empty UTF-8 text not starting with '#'");
        name = ResourceKey::FromName(Utf8ToUpper(first.strText));
    } else if (first.eKind == RcTokenKind::Number || first.eKind == RcTokenKind::Identifier) {
        LONGLONG nId = first.nValue;
        if (first.eKind == RcTokenKind::Identifier) {
            auto it = m_symbols.find(first.strText);
            if (it == m_symbols.end())
                tokens.Fail(first.nLine, first.strText + " is not defined");
            nId = it->second;
        }
        if (nId < 1 || nId > 0xFFFF)
            tokens.Fail(first.nLine, "resource ID " + std::to_string(nId) + " is outside 1..65535");
        name = ResourceKey::FromId(static_cast<WORD>(nId));
    } else {
        tokens.Fail(first.nLine, "expected a resource statement");
    }

    RcToken kind = tokens.Take();
    const std::string& k = kind.strText;
    if (kind.eKind != RcTokenKind::Identifier)
        tokens.Fail(kind.nLine, "expected a resource type after the name");
    if (k == "DIALOG" || k == "DIALOGEX") {
        Dialog(tokens, name, first.nLine);
    } else if (k == "MENU") {
        Add(tokens, first.nLine, RESOURCE_TYPE_MENU, name, WriteMenuTemplate(MenuItems(tokens, 1)));
    } else if (k == "ACCELERATORS") {
        Add(tokens, first.nLine, RESOURCE_TYPE_ACCELERATOR, name, Accelerators(tokens));
    } else if (k == "BITMAP" || k == "ICON" || k == "CURSOR") {
        RcToken file = tokens.Take();
        if (file.eKind != RcTokenKind::String)
            tokens.Fail(file.nLine, "expected the image file name in quotes");
        std::vector<BYTE> data = ReadDataFile(tokens, file);
        if (data.size() < sizeof(PNG_SIGNATURE)
            || !std::equal(std::begin(PNG_SIGNATURE), std::end(PNG_SIGNATURE), data.begin()))
            tokens.Fail(file.nLine, file.strText + " is not a PNG image");
        WORD nType = k == "BITMAP" ? RESOURCE_TYPE_BITMAP : k == "ICON" ? RESOURCE_TYPE_ICON : RESOURCE_TYPE_CURSOR;
        Add(tokens, first.nLine, nType, name, std::move(data));
    } else if (k == "DLGINIT") {
        Add(tokens, first.nLine, RESOURCE_TYPE_DLGINIT, name, DialogInit(tokens));
    } else if (k == "TOOLBAR") {
        Add(tokens, first.nLine, RESOURCE_TYPE_TOOLBAR, name, Toolbar(tokens));
    } else if (k == "HTML") {
        RcToken file = tokens.Take();
        if (file.eKind != RcTokenKind::String)
            tokens.Fail(file.nLine, "expected the page or picture file name in quotes");
        Add(tokens, first.nLine, RESOURCE_TYPE_HTML, name, ReadDataFile(tokens, file));
    } else if (k == RESOURCE_TYPE_NAME_AVI) {
        Add(tokens, first.nLine, ResourceKey::FromName(RESOURCE_TYPE_NAME_AVI), name, AnimationClip(tokens));
    } else if (k == "RCDATA") {
        if (tokens.Peek().eKind == RcTokenKind::String)
            Add(tokens, first.nLine, RESOURCE_TYPE_RCDATA, name, ReadDataFile(tokens, tokens.Take()));
        else
            Add(tokens, first.nLine, RESOURCE_TYPE_RCDATA, name, InlineData(tokens));
    } else {
        tokens.Fail(kind.nLine, "unknown resource type " + k);
    }
}

void CRcCompiler::Add(CRcTokens& tokens, int nLine, WORD nType, ResourceKey name, std::vector<BYTE> data)
{
    Add(tokens, nLine, ResourceKey::FromId(nType), std::move(name), std::move(data));
}

void CRcCompiler::Add(CRcTokens& tokens, int nLine, ResourceKey type, ResourceKey name, std::vector<BYTE> data)
{
    auto [it, bNew] = m_definedAt.emplace(std::pair(type, name), nLine);
    if (!bNew)
        tokens.Fail(nLine, "this resource is already defined at line " + std::to_string(it->second));
    m_items.push_back({ std::move(type), std::move(name), std::move(data) });
}

void CRcCompiler::StringTable(CRcTokens& tokens)
{
    ExpectBegin(tokens);
    while (!TakeEnd(tokens)) {
        int nLine = tokens.Peek().nLine;
        auto nID = static_cast<UINT>(Number(tokens, 0, 0xFFFF, "string ID"));
        tokens.TakeIf(RcTokenKind::Punct, ",");
        std::string text = Text(tokens, "the string");
        auto [it, bNew] = m_strings.emplace(nID, std::pair(std::move(text), nLine));
        if (!bNew)
            tokens.Fail(nLine,
                "string " + std::to_string(nID) + " is already defined at line " + std::to_string(it->second.second));
    }
}

void CRcCompiler::Dialog(CRcTokens& tokens, const ResourceKey& name, int nLine)
{
    DialogTemplate dialog;
    dialog.x = static_cast<SHORT>(Number(tokens, -32768, 32767, "x"));
    Expect(tokens, ",");
    dialog.y = static_cast<SHORT>(Number(tokens, -32768, 32767, "y"));
    Expect(tokens, ",");
    dialog.cx = static_cast<SHORT>(Number(tokens, 0, 32767, "width"));
    Expect(tokens, ",");
    dialog.cy = static_cast<SHORT>(Number(tokens, 0, 32767, "height"));

    std::optional<StyleBits> style;
    bool bCaption = false;
    for (;;) {
        if (tokens.TakeIf(RcTokenKind::Identifier, "STYLE")) {
            style = Style(tokens);
        } else if (tokens.TakeIf(RcTokenKind::Identifier, "EXSTYLE")) {
            dialog.dwExStyle = Style(tokens).Apply(0);
        } else if (tokens.TakeIf(RcTokenKind::Identifier, "CAPTION")) {
            dialog.strCaption = Text(tokens, "the caption");
            bCaption = true;
        } else if (tokens.TakeIf(RcTokenKind::Identifier, "FONT")) {
            dialog.nPointSize = static_cast<WORD>(Number(tokens, 1, 0xFFFF, "point size"));
            Expect(tokens, ",");
            dialog.strFaceName = Text(tokens, "the font name");
            if (tokens.TakeIf(RcTokenKind::Punct, ",")) {
                dialog.nWeight = static_cast<WORD>(Number(tokens, 0, 1000, "font weight"));
                Expect(tokens, ",");
                dialog.bItalic = static_cast<BYTE>(Number(tokens, 0, 1, "italic flag"));
            }
        } else {
            break;
        }
    }
    // Without STYLE a dialog is a bordered pop-up with a system menu; a caption
    // adds a title bar and a font sets DS_SETFONT, whatever STYLE says.
    dialog.dwStyle = style ? style->Apply(0) : BuiltinStyles("WS_POPUP|WS_BORDER|WS_SYSMENU");
    if (bCaption)
        dialog.dwStyle |= BuiltinStyles("WS_CAPTION");
    if (dialog.nPointSize)
        dialog.dwStyle |= BuiltinStyles("DS_SETFONT");

    ExpectBegin(tokens);
    while (!TakeEnd(tokens)) {
        RcToken keyword = tokens.Take();
        if (dialog.controls.size() == 0xFFFF)
            tokens.Fail(keyword.nLine, "the dialog has too many controls");
        dialog.controls.push_back(Control(tokens, keyword));
    }
    Add(tokens, nLine, RESOURCE_TYPE_DIALOG, name, WriteDialogTemplate(dialog));
}

// <dialog> DLGINIT BEGIN <control id> [,] "text" ... END: the lines a combo box
// lists when its dialog opens.
std::vector<BYTE> CRcCompiler::DialogInit(CRcTokens& tokens)
{
    std::vector<DialogInitEntry> entries;
    ExpectBegin(tokens);
    while (!TakeEnd(tokens)) {
        DialogInitEntry entry;
        entry.nControlId = static_cast<WORD>(Number(tokens, 0, 0xFFFF, "control ID"));
        tokens.TakeIf(RcTokenKind::Punct, ",");
        entry.strText = Text(tokens, "the text");
        entries.push_back(std::move(entry));
    }
    return WriteDialogInit(entries);
}

// CONTROL text, id, class, style, x, y, cx, cy [, exstyle]
// <shorthand> [text,] id, x, y, cx, cy [, style [, exstyle]]   (ICON may leave out cx, cy)
DialogControlTemplate CRcCompiler::Control(CRcTokens& tokens, const RcToken& keyword)
{
    const bool bGeneric = keyword.Is(RcTokenKind::Identifier, "CONTROL");
    const ControlKind* pKind = nullptr;
    for (const ControlKind& kind : CONTROL_KINDS) {
        if (keyword.Is(RcTokenKind::Identifier, kind.keyword))
            pKind = &kind;
    }
    if (!bGeneric && !pKind)
        tokens.Fail(keyword.nLine, "expected a control statement or END");

    DialogControlTemplate control;
    if (bGeneric || pKind->bHasText) {
        if (tokens.Peek().eKind == RcTokenKind::String)
            control.strText = Text(tokens, "the control text");
        else
            control.strText = "#" + std::to_string(Number(tokens, 1, 0xFFFF, "resource ID"));
        Expect(tokens, ",");
    }
    control.nID = static_cast<DWORD>(Number(tokens, -0x80000000LL, 0xFFFFFFFFLL, "control ID"));
    Expect(tokens, ",");
    DWORD dwDefault = BuiltinStyles("WS_CHILD|WS_VISIBLE");
    StyleBits style;
    if (bGeneric) {
        control.strClass = Text(tokens, "the window class");
        if (control.strClass.empty())
            tokens.Fail(keyword.nLine, "the window class is empty");
        Expect(tokens, ",");
        style = Style(tokens);
        Expect(tokens, ",");
    } else {
        control.strClass = pKind->className;
        dwDefault |= BuiltinStyles(pKind->defaultStyles);
    }
    control.x = static_cast<SHORT>(Number(tokens, -32768, 32767, "x"));
    Expect(tokens, ",");
    control.y = static_cast<SHORT>(Number(tokens, -32768, 32767, "y"));
    const bool bSizeOptional = pKind && pKind->keyword == "ICON";
    if (!bSizeOptional || tokens.Peek().Is(RcTokenKind::Punct, ",")) {
        Expect(tokens, ",");
        control.cx = static_cast<SHORT>(Number(tokens, 0, 32767, "width"));
        Expect(tokens, ",");
        control.cy = static_cast<SHORT>(Number(tokens, 0, 32767, "height"));
    }
    if (!bGeneric && tokens.TakeIf(RcTokenKind::Punct, ","))
        style = Style(tokens);
    if (tokens.TakeIf(RcTokenKind::Punct, ","))
        control.dwExStyle = Style(tokens).Apply(0);
    control.dwStyle = style.Apply(dwDefault);
    return control;
}

// BEGIN { MENUITEM "text", id [options] | MENUITEM SEPARATOR | POPUP "text" [options] BEGIN ... END } END
std::vector<MenuItemTemplate> CRcCompiler::MenuItems(CRcTokens& tokens, UINT nDepth)
{
    if (nDepth > MAX_MENU_DEPTH)
        tokens.Fail("menus nest more than " + std::to_string(MAX_MENU_DEPTH) + " deep");
    ExpectBegin(tokens);
    std::vector<MenuItemTemplate> items;
    while (!TakeEnd(tokens)) {
        RcToken keyword = tokens.Take();
        MenuItemTemplate item;
        if (keyword.Is(RcTokenKind::Identifier, "MENUITEM")) {
            if (tokens.TakeIf(RcTokenKind::Identifier, "SEPARATOR")) {
                item.nFlags = MF_SEPARATOR;
            } else {
                item.strText = Text(tokens, "the item text");
                Expect(tokens, ",");
                item.nID = static_cast<UINT>(Number(tokens, 0, 0xFFFF, "command ID"));
                item.nFlags = MenuOptions(tokens);
            }
        } else if (keyword.Is(RcTokenKind::Identifier, "POPUP")) {
            item.strText = Text(tokens, "the popup text");
            item.nFlags = MenuOptions(tokens) | MF_POPUP;
            item.children = MenuItems(tokens, nDepth + 1);
            if (item.children.empty())
                tokens.Fail(keyword.nLine, "the popup has no items");
        } else {
            tokens.Fail(keyword.nLine, "expected MENUITEM, POPUP or END");
        }
        items.push_back(std::move(item));
    }
    return items;
}

UINT CRcCompiler::MenuOptions(CRcTokens& tokens)
{
    UINT nFlags = 0;
    for (;;) {
        bool bComma = tokens.TakeIf(RcTokenKind::Punct, ",");
        auto it = std::find_if(std::begin(MENU_OPTIONS), std::end(MENU_OPTIONS),
            [&](const auto& option) { return tokens.Peek().Is(RcTokenKind::Identifier, option.first); });
        if (it == std::end(MENU_OPTIONS)) {
            if (bComma)
                tokens.Fail("unknown menu option");
            return nFlags;
        }
        tokens.Take();
        nFlags |= it->second;
    }
}

// BEGIN { event, id [, type] [, options] } END; the event is "c", "^c" or a key code.
std::vector<BYTE> CRcCompiler::Accelerators(CRcTokens& tokens)
{
    ExpectBegin(tokens);
    std::vector<ACCEL> accels;
    while (!TakeEnd(tokens)) {
        const int nLine = tokens.Peek().nLine;
        std::optional<std::string> key;
        LONGLONG nKey = 0;
        if (tokens.Peek().eKind == RcTokenKind::String)
            key = Text(tokens, "the key");
        else
            nKey = Number(tokens, 0, 0xFFFF, "key code");
        Expect(tokens, ",");
        ACCEL accel {};
        accel.cmd = static_cast<WORD>(Number(tokens, 0, 0xFFFF, "command ID"));
        while (tokens.TakeIf(RcTokenKind::Punct, ",")) {
            RcToken option = tokens.Take();
            auto it = std::find_if(std::begin(ACCELERATOR_OPTIONS), std::end(ACCELERATOR_OPTIONS),
                [&](const auto& known) { return option.Is(RcTokenKind::Identifier, known.first); });
            if (it == std::end(ACCELERATOR_OPTIONS))
                tokens.Fail(option.nLine, "unknown accelerator option");
            accel.fVirt |= it->second;
        }
        const bool bVirtual = accel.fVirt & FVIRTKEY;
        if (!bVirtual && (accel.fVirt & (FSHIFT | FCONTROL)))
            tokens.Fail(nLine, "SHIFT and CONTROL need VIRTKEY");
        if (key) {
            const bool bCaret = key->size() == 2 && (*key)[0] == '^';
            char c = bCaret ? static_cast<char>(Utf8ToUpper(key->substr(1))[0]) : key->empty() ? '\0' : (*key)[0];
            if ((!bCaret && key->size() != 1) || static_cast<unsigned char>(c) >= 0x80 || c == '\0')
                tokens.Fail(nLine, "an accelerator key is one ASCII character, or ^ and a letter");
            if (bCaret && (bVirtual || c < '@' || c > '_'))
                tokens.Fail(nLine, "a ^ key must be a letter and cannot be VIRTKEY");
            if (bCaret)
                nKey = c - '@';
            else
                nKey = static_cast<unsigned char>(bVirtual ? Utf8ToUpper(*key)[0] : c);
        }
        accel.key = static_cast<WORD>(nKey);
        accels.push_back(accel);
    }
    if (accels.empty())
        tokens.Fail("the accelerator table is empty");
    return WriteAcceleratorTable(accels);
}

// width, height BEGIN { BUTTON id | SEPARATOR } END
std::vector<BYTE> CRcCompiler::Toolbar(CRcTokens& tokens)
{
    ToolbarTemplate toolbar;
    toolbar.nImageWidth = static_cast<WORD>(Number(tokens, 1, 0xFFFF, "image width"));
    Expect(tokens, ",");
    toolbar.nImageHeight = static_cast<WORD>(Number(tokens, 1, 0xFFFF, "image height"));
    ExpectBegin(tokens);
    while (!TakeEnd(tokens)) {
        RcToken item = tokens.Take();
        if (item.Is(RcTokenKind::Identifier, "SEPARATOR"))
            toolbar.commands.push_back(0);
        else if (item.Is(RcTokenKind::Identifier, "BUTTON"))
            toolbar.commands.push_back(static_cast<WORD>(Number(tokens, 1, 0xFFFF, "command ID")));
        else
            tokens.Fail(item.nLine, "expected BUTTON or SEPARATOR");
    }
    if (toolbar.commands.size() > 0xFFFF)
        tokens.Fail("the toolbar has too many buttons");
    return WriteToolbarTemplate(toolbar);
}

// "strip.png", frame width, milliseconds per frame. The frame count is the
// strip's width over the frame width; a strip without transparency of its own
// takes magenta as its transparent colour.
std::vector<BYTE> CRcCompiler::AnimationClip(CRcTokens& tokens)
{
    RcToken file = tokens.Take();
    if (file.eKind != RcTokenKind::String)
        tokens.Fail(file.nLine, "expected the clip's PNG strip in quotes");
    const std::vector<BYTE> strip = ReadDataFile(tokens, file);
    Expect(tokens, ",");
    const auto nFrameWidth = static_cast<WORD>(Number(tokens, 1, 0xFFFF, "frame width"));
    Expect(tokens, ",");
    const auto nMilliseconds
        = static_cast<WORD>(Number(tokens, ANIMATION_CLIP_MIN_MILLISECONDS, 0xFFFF, "milliseconds per frame"));
    PngHeader png;
    std::string strError;
    if (!ReadPngHeader(strip, png, strError))
        tokens.Fail(file.nLine, file.strText + ": " + strError);
    if (png.nWidth % nFrameWidth != 0)
        tokens.Fail(file.nLine, file.strText + " is not a whole number of frames wide");
    if (png.nWidth / nFrameWidth > ANIMATION_CLIP_MAX_FRAMES || png.nHeight > 0xFFFF)
        tokens.Fail(file.nLine, file.strText + " holds too many frames or too tall a frame");
    AnimationClipTemplate clip;
    clip.nFrameWidth = nFrameWidth;
    clip.nFrameHeight = static_cast<WORD>(png.nHeight);
    clip.nFrameCount = static_cast<WORD>(png.nWidth / nFrameWidth);
    clip.nMilliseconds = nMilliseconds;
    if (!png.bAlpha) {
        clip.nFlags = ANIMATION_CLIP_TRANSPARENT_COLOUR;
        clip.crTransparent = MAGENTA;
    }
    clip.strip = strip;
    return WriteAnimationClip(clip);
}

// BEGIN { "bytes" | word | dwordL } END, separated by commas.
std::vector<BYTE> CRcCompiler::InlineData(CRcTokens& tokens)
{
    ExpectBegin(tokens);
    std::vector<BYTE> data;
    while (!TakeEnd(tokens)) {
        if (tokens.Peek().eKind == RcTokenKind::String) {
            std::string bytes = tokens.Take().strText;
            data.insert(data.end(), bytes.begin(), bytes.end());
        } else {
            const bool bLong = tokens.Peek().bLong;
            LONGLONG nMin = bLong ? -0x80000000LL : -0x8000;
            LONGLONG nMax = bLong ? 0xFFFFFFFFLL : 0xFFFF;
            auto nValue = static_cast<DWORD>(Number(tokens, nMin, nMax, bLong ? "double word" : "word"));
            for (int i = 0; i < (bLong ? 4 : 2); ++i)
                data.push_back(static_cast<BYTE>(nValue >> (8 * i)));
        }
        tokens.TakeIf(RcTokenKind::Punct, ",");
    }
    return data;
}

}

bool CompileResourceScript(const std::filesystem::path& script, RcOutput& output, std::string& strError)
{
    try {
        output = CRcCompiler(script).Run();
        return true;
    } catch (const CRcError& error) {
        strError = error.what();
        return false;
    }
}
