#include "mail/CMailHeaders.h"

#include "mail/GMimeSupport.h"
#include "mail/MailPassword.h"

#include <algorithm>

namespace {

// The character classes of GMime's header parser.
bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

bool IsControl(char ch)
{
    auto nByte = static_cast<unsigned char>(ch);
    return nByte < 0x20 || nByte == 0x7F;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && g_ascii_strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Fields named "Content-..." belong to the message's body part, not to the message.
bool IsMessageFieldName(std::string_view name)
{
    return !EqualsNoCase(name.substr(0, 8), "Content-");
}

// A "From " line (quoted with '>' or not) may stand before the first field; the
// scanned part of the line up to where it stopped being a field name.
bool IsFromLine(std::string_view scanned)
{
    if (!scanned.empty() && scanned[0] == '>')
        scanned.remove_prefix(1);
    return scanned.substr(0, 5) == "From ";
}

// Copies a string GMime allocated and frees it.
std::string TakeGString(char* psz)
{
    std::string str = psz ? psz : "";
    g_free(psz);
    return str;
}

// A field's value, computed by decode on first use and kept.
template<typename T, typename F> const T& DecodeOnce(std::optional<T>& value, F decode)
{
    if (!value)
        value = decode();
    return *value;
}

bool IsAscii(const char* psz)
{
    for (; *psz; ++psz) {
        if (static_cast<unsigned char>(*psz) >= 0x80)
            return false;
    }
    return true;
}

// Appends an address list as internet_address_list_to_string shows it
// unencoded: names quoted where needed, groups as "name: members;", entries
// joined with ", ". The display converts an address's domain to its ASCII
// (IDN) form only when that form differs in more than letter case, which an
// ASCII domain's never does, so only addresses with other characters pay for
// the conversion.
void AppendAddressText(InternetAddressList* pList, std::string& str)
{
    int nCount = internet_address_list_length(pList);
    for (int i = 0; i < nCount; ++i) {
        if (i > 0)
            str += ", ";
        InternetAddress* pAddress = internet_address_list_get_address(pList, i);
        const char* pszName = internet_address_get_name(pAddress);
        if (INTERNET_ADDRESS_IS_GROUP(pAddress)) {
            if (pszName)
                str += TakeGString(g_mime_utils_quote_string(pszName));
            str += ": ";
            AppendAddressText(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(pAddress)), str);
            str += ';';
            continue;
        }
        InternetAddressMailbox* pMailbox = INTERNET_ADDRESS_MAILBOX(pAddress);
        const char* pszAddr = internet_address_mailbox_get_addr(pMailbox);
        if (!IsAscii(pszAddr))
            pszAddr = internet_address_mailbox_get_idn_addr(pMailbox);
        if (pszName && *pszName) {
            str += TakeGString(g_mime_utils_quote_string(pszName));
            str += " <";
            str += pszAddr;
            str += '>';
        } else {
            str += pszAddr;
        }
    }
}

} // namespace

/*********************************************************************
 * Splitting the header block
 *********************************************************************/

CMailHeaders::CMailHeaders(std::string_view raw)
{
    // The fields are split as GMime's parser splits them. Its result does not
    // depend on how its input arrives, so the whole text is taken at once; the
    // byte after the text reads as the line break the parser puts there.
    const size_t nSize = raw.size();
    size_t nField = 0; // The lines of the field being gathered: [nField, nFieldEnd)
    size_t nFieldEnd = 0;
    auto EndField = [&] {
        AddField(raw, nField, nFieldEnd);
        nField = nFieldEnd;
    };

    size_t nBlockEnd = nSize;
    bool bScanningName = true; // At the start of a field, whose name is checked
    bool bCheckFolded = false; // A field was gathered; a line not starting with a blank ends it
    bool bBlank = false;
    bool bValid = true;
    for (size_t nPos = 0; nPos < nSize;) {
        const size_t nStart = nPos;
        if (bCheckFolded && !IsBlank(raw[nPos])) {
            // A line that does not start with a blank starts the next field.
            EndField();
            bScanningName = true;
            bBlank = false;
            bValid = true;
        }
        const bool bEmptyLine
            = raw[nPos] == '\n' || (raw[nPos] == '\r' && (nPos + 1 == nSize || raw[nPos + 1] == '\n'));
        if (bScanningName && !bEmptyLine) {
            if (raw[nPos] == ':') {
                bValid = false;
            } else {
                for (; nPos < nSize && raw[nPos] != ':'; ++nPos) {
                    if (IsBlank(raw[nPos])) {
                        bBlank = true;
                    } else if (bBlank || IsControl(raw[nPos])) {
                        bValid = false;
                        break;
                    }
                }
                if (nPos == nSize) {
                    // The text ends inside a field name: the parser rejects the message.
                    m_fields.clear();
                    return;
                }
            }
            // Before the first field, only a "From " line may be something else.
            if (!bValid && m_fields.empty() && !IsFromLine(raw.substr(nStart, nPos - nStart))) {
                m_fields.clear();
                return;
            }
        }
        bScanningName = false;
        size_t nBreak = raw.find('\n', nPos);
        if (nBreak == std::string_view::npos) {
            // A last line without its line break ends the field being gathered.
            nFieldEnd = nSize;
            break;
        }
        if (raw[nStart] == '\n' || (raw[nStart] == '\r' && raw[nStart + 1] == '\n')) {
            nBlockEnd = nBreak + 1;
            break;
        }
        if (!bValid && m_fields.empty()) {
            // The "From " line is passed over.
            nField = nFieldEnd = nBreak + 1;
            bScanningName = true;
            bCheckFolded = false;
            bBlank = false;
            bValid = true;
        } else {
            nFieldEnd = nBreak + 1;
            bCheckFolded = true;
        }
        nPos = nBreak + 1;
    }
    EndField();
    m_strBlock.assign(raw.substr(0, nBlockEnd));
}

void CMailHeaders::AddField(std::string_view raw, size_t nStart, size_t nEnd)
{
    std::string_view text = raw.substr(nStart, nEnd - nStart);
    size_t nColon = 0;
    bool bBlank = false;
    // Blanks may stand between the name and the colon, but not inside the name.
    for (; nColon < text.size() && text[nColon] != ':'; ++nColon) {
        if (IsBlank(text[nColon]))
            bBlank = true;
        else if (bBlank || IsControl(text[nColon]))
            break;
    }
    if (nColon == text.size() || text[nColon] != ':')
        return;
    size_t nNameLength = nColon;
    while (nNameLength > 0 && IsBlank(text[nNameLength - 1]))
        --nNameLength;
    std::string_view value = text.substr(nColon + 1);
    CField field;
    field.nName = nStart;
    field.nNameLength = nNameLength;
    field.nValue = nStart + nColon + 1;
    field.nValueLength = std::min(value.size(), value.find('\0'));
    m_fields.push_back(field);
}

/*********************************************************************
 * Decoding the fields
 *********************************************************************/

std::string_view CMailHeaders::Name(const CField& field) const
{
    return std::string_view(m_strBlock).substr(field.nName, field.nNameLength);
}

std::string CMailHeaders::DecodedValue(const CField& field) const
{
    GMimeParserOptions* pOptions = MailParserOptions();
    std::string strRaw = m_strBlock.substr(field.nValue, field.nValueLength);
    std::string strUnfolded = TakeGString(g_mime_utils_header_unfold(strRaw.c_str()));
    return TakeGString(g_mime_utils_header_decode_text(pOptions, strUnfolded.c_str()));
}

const CMailHeaders::CField* CMailHeaders::FirstField(std::string_view name) const
{
    for (const CField& field : m_fields) {
        if (EqualsNoCase(Name(field), name))
            return &field;
    }
    return nullptr;
}

std::string CMailHeaders::AddressText(std::string_view name, EFields eFields) const
{
    // The addresses are read from the raw values, as the parser reads them: a
    // decoded display name may hold commas.
    GMimeParserOptions* pOptions = MailParserOptions();
    CGObjectRef<InternetAddressList> list(internet_address_list_new());
    for (const CField& field : m_fields) {
        if (EqualsNoCase(Name(field), name)) {
            std::string strRaw = m_strBlock.substr(field.nValue, field.nValueLength);
            internet_address_list_append_parse(list.Get(), pOptions, strRaw.c_str());
            if (eFields == EFields::First)
                break;
        }
    }
    std::string strText;
    AppendAddressText(list.Get(), strText);
    return strText;
}

const std::string& CMailHeaders::GetSubject()
{
    return DecodeOnce(m_strSubject, [&] {
        const CField* pField = FirstField("Subject");
        return pField ? DecodedValue(*pField) : std::string();
    });
}

const std::string& CMailHeaders::GetFrom()
{
    return DecodeOnce(m_strFrom, [&] { return AddressText("From", EFields::First); });
}

const std::string& CMailHeaders::GetTo()
{
    return DecodeOnce(m_strTo, [&] { return AddressText("To", EFields::Every); });
}

const std::string& CMailHeaders::GetCc()
{
    return DecodeOnce(m_strCc, [&] { return AddressText("Cc", EFields::Every); });
}

const std::string& CMailHeaders::GetHeaderLines()
{
    return DecodeOnce(m_strHeaderLines, [&] {
        std::string strLines;
        for (const CField& field : m_fields) {
            if (!IsMessageFieldName(Name(field)))
                continue;
            strLines.append(Name(field));
            strLines += ": ";
            strLines += DecodedValue(field);
            strLines += "\r\n";
        }
        return strLines;
    });
}

const std::string& CMailHeaders::GetProtection()
{
    return DecodeOnce(m_strProtection, [&] {
        std::string strProtection;
        for (const CField& field : m_fields) {
            if (EqualsNoCase(Name(field), MAIL_PROTECTION_HEADER))
                UnscramblePassword(DecodedValue(field), strProtection);
        }
        return strProtection;
    });
}

time_t CMailHeaders::GetDate()
{
    return DecodeOnce(m_tDate, [&] {
        const CField* pField = FirstField("Date");
        if (pField == nullptr)
            return time_t(0);
        // The parser knows zone names in capitals only; names of days and months it reads in any case.
        std::string strValue = TakeGString(g_ascii_strup(DecodedValue(*pField).c_str(), -1));
        GDateTime* pDate = g_mime_utils_header_decode_date(strValue.c_str());
        if (pDate == nullptr)
            return time_t(0);
        auto tDate = static_cast<time_t>(g_date_time_to_unix(pDate));
        g_date_time_unref(pDate);
        return tDate;
    });
}
