#pragma once

// The header fields of a stored message, read from its header block alone (up
// to the first empty line): the body is never parsed. The block is split into
// fields by the rules of GMime's message parser, and each field is decoded to
// UTF-8 on first use through GMime's header functions, so every value equals
// what a parse of the whole message gives: encoded words decoded, raw 8-bit
// text read as UTF-8 or else Latin-1, folding removed. A block the whole parse
// rejects (a first line that is neither a field nor a "From " line, or a text
// that ends inside a field name) gives empty fields. Of a field that should
// appear once (Subject, From, Date) but appears more often, the first counts,
// as mail clients show it. The object keeps its own copy of the block.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CMailHeaders {
public:
    explicit CMailHeaders(std::string_view raw);

    // The first Subject field.
    const std::string& GetSubject();
    // The addresses of the first From field, and of every To (Cc) field,
    // joined with ", ", display names decoded.
    const std::string& GetFrom();
    const std::string& GetTo();
    const std::string& GetCc();
    // Every field but the Content- ones, as "Name: value" lines ended by CRLF.
    const std::string& GetHeaderLines();
    // The unscrambled protection value of the last protection field, empty when unprotected.
    const std::string& GetProtection();
    // The first Date field as seconds since 1970, 0 when absent or unreadable.
    // Zone names are read without regard to case ("cst" is "CST").
    time_t GetDate();

private:
    // A field within m_strBlock. The Content- fields belong to the body part:
    // they are kept for the splitting rules but are not the message's fields.
    struct CField {
        size_t nName { 0 };
        size_t nNameLength { 0 }; // Without the blanks before the colon
        size_t nValue { 0 };      // After the colon, line breaks kept, up to a NUL byte
        size_t nValueLength { 0 };
    };

    // Adds the field the lines [nStart, nEnd) of raw hold; lines that are not a
    // field ("name: value") are dropped.
    void AddField(std::string_view raw, size_t nStart, size_t nEnd);
    std::string_view Name(const CField& field) const;
    // The field's value unfolded and decoded.
    std::string DecodedValue(const CField& field) const;
    enum class EFields { First, Every };
    // The addresses of the first or of every field of the name.
    std::string AddressText(std::string_view name, EFields eFields) const;
    // The first field of the name, or null.
    const CField* FirstField(std::string_view name) const;

    std::string m_strBlock;
    std::vector<CField> m_fields;
    std::optional<std::string> m_strSubject; // Each decoded on first use
    std::optional<std::string> m_strFrom;
    std::optional<std::string> m_strTo;
    std::optional<std::string> m_strCc;
    std::optional<std::string> m_strHeaderLines;
    std::optional<std::string> m_strProtection;
    std::optional<time_t> m_tDate;
};

// The header line that carries a scrambled protection value in a stored message.
constexpr const char* MAIL_PROTECTION_HEADER = "X-KD-Protect";
