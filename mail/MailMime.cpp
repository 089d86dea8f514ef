#include "mail/MailMime.h"

#include "mail/GMimeSupport.h"

#include <cstring>

namespace {

bool IsAttachment(GMimeObject* pPart)
{
    const char* pszDisposition = g_mime_object_get_disposition(pPart);
    return pszDisposition && g_ascii_strcasecmp(pszDisposition, "attachment") == 0;
}

std::string PartText(GMimePart* pPart)
{
    if (!GMIME_IS_TEXT_PART(pPart))
        return {};
    GMimeTextPart* pText = GMIME_TEXT_PART(pPart);
    // Without a declared charset the bytes are taken as Latin-1 unless they are valid UTF-8.
    const char* pszCharset = g_mime_text_part_get_charset(pText);
    char* psz = nullptr;
    if (pszCharset == nullptr) {
        GMimeDataWrapper* pContent = g_mime_part_get_content(pPart);
        if (pContent == nullptr)
            return {};
        CGObjectRef<GMimeStream> mem(g_mime_stream_mem_new());
        g_mime_data_wrapper_write_to_stream(pContent, mem.Get());
        GByteArray* pBytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(mem.Get()));
        std::string strBytes(reinterpret_cast<const char*>(pBytes->data), pBytes->len);
        if (g_utf8_validate(strBytes.data(), static_cast<gssize>(strBytes.size()), nullptr))
            return strBytes;
        psz = g_convert(
            strBytes.data(), static_cast<gssize>(strBytes.size()), "UTF-8", "ISO-8859-1", nullptr, nullptr, nullptr);
    } else {
        psz = g_mime_text_part_get_text(pText);
    }
    std::string str = psz ? psz : "";
    g_free(psz);
    return str;
}

// Finds the first part of the wanted subtype ("plain" or "html") that is not an
// attachment, without descending into attached messages.
GMimePart* FindTextPart(GMimeObject* pObject, const char* pszSubtype, int nDepth = 0)
{
    if (pObject == nullptr || nDepth > 64)
        return nullptr;
    if (GMIME_IS_MULTIPART(pObject)) {
        GMimeMultipart* pMulti = GMIME_MULTIPART(pObject);
        int nCount = g_mime_multipart_get_count(pMulti);
        for (int i = 0; i < nCount; ++i) {
            if (GMimePart* pFound = FindTextPart(g_mime_multipart_get_part(pMulti, i), pszSubtype, nDepth + 1))
                return pFound;
        }
        return nullptr;
    }
    if (!GMIME_IS_PART(pObject) || IsAttachment(pObject))
        return nullptr;
    GMimeContentType* pType = g_mime_object_get_content_type(pObject);
    if (pType && g_mime_content_type_is_type(pType, "text", pszSubtype))
        return GMIME_PART(pObject);
    return nullptr;
}

std::string TextOfMessage(GMimeMessage* pMessage)
{
    GMimeObject* pBody = g_mime_message_get_mime_part(pMessage);
    if (GMimePart* pPlain = FindTextPart(pBody, "plain"))
        return PartText(pPlain);
    if (GMimePart* pHtml = FindTextPart(pBody, "html"))
        return MailTextFromHtml(PartText(pHtml));
    return {};
}

void AppendUtf8(std::string& str, unsigned long nCode)
{
    char buf[8];
    int n = g_unichar_to_utf8(static_cast<gunichar>(nCode), buf);
    str.append(buf, static_cast<size_t>(n));
}

bool StartsWithNoCase(std::string_view text, size_t nPos, std::string_view prefix)
{
    return text.size() - nPos >= prefix.size()
        && g_ascii_strncasecmp(text.data() + nPos, prefix.data(), prefix.size()) == 0;
}

} // namespace

std::string MailTextFromMime(std::string_view raw)
{
    CGObjectRef<GMimeMessage> message(ParseMailMessage(raw));
    return message.Get() ? TextOfMessage(message.Get()) : std::string();
}

std::string MailTextFromHtml(std::string_view html)
{
    static const struct {
        const char* pszName;
        unsigned long nCode;
    } entities[]
        = { { "amp", '&' }, { "lt", '<' }, { "gt", '>' }, { "quot", '"' }, { "apos", '\'' }, { "nbsp", 0xA0 } };

    std::string text;
    size_t i = 0;
    while (i < html.size()) {
        char ch = html[i];
        if (ch == '<') {
            // Comments, scripts and styles go whole; any other tag goes alone.
            const char* pszEnd = ">";
            if (html.compare(i, 4, "<!--") == 0)
                pszEnd = "-->";
            else if (StartsWithNoCase(html, i, "<script"))
                pszEnd = "</script>";
            else if (StartsWithNoCase(html, i, "<style"))
                pszEnd = "</style>";
            size_t nEnd = std::string_view::npos;
            for (size_t j = i + 1; j < html.size(); ++j) {
                if (StartsWithNoCase(html, j, pszEnd)) {
                    nEnd = j + std::strlen(pszEnd);
                    break;
                }
            }
            if (StartsWithNoCase(html, i, "<br") || StartsWithNoCase(html, i, "<p") || StartsWithNoCase(html, i, "</p")
                || StartsWithNoCase(html, i, "<div") || StartsWithNoCase(html, i, "<tr"))
                text += '\n';
            i = nEnd == std::string_view::npos ? html.size() : nEnd;
            continue;
        }
        if (ch == '&') {
            size_t nSemi = html.find(';', i);
            if (nSemi != std::string_view::npos && nSemi - i <= 10) {
                std::string_view name = html.substr(i + 1, nSemi - i - 1);
                bool bDone = false;
                if (name.size() > 1 && name[0] == '#') {
                    bool bHex = name[1] == 'x' || name[1] == 'X';
                    std::string digits(name.substr(bHex ? 2 : 1));
                    char* pEnd = nullptr;
                    unsigned long nCode = std::strtoul(digits.c_str(), &pEnd, bHex ? 16 : 10);
                    if (!digits.empty() && *pEnd == '\0' && nCode > 0 && nCode < 0x110000) {
                        AppendUtf8(text, nCode);
                        bDone = true;
                    }
                } else {
                    for (const auto& entity : entities) {
                        if (name == entity.pszName) {
                            AppendUtf8(text, entity.nCode);
                            bDone = true;
                            break;
                        }
                    }
                }
                if (bDone) {
                    i = nSemi + 1;
                    continue;
                }
            }
        }
        text += ch;
        ++i;
    }
    return text;
}
