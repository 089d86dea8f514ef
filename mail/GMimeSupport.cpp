#include "mail/GMimeSupport.h"

GMimeParserOptions* MailParserOptions()
{
    static GMimeParserOptions* pOptions = [] {
        g_mime_init();
        GMimeParserOptions* p = g_mime_parser_options_new();
        const char* charsets[] = { "UTF-8", "ISO-8859-1", nullptr };
        g_mime_parser_options_set_fallback_charsets(p, charsets);
        g_mime_parser_options_set_rfc2047_compliance_mode(p, GMIME_RFC_COMPLIANCE_LOOSE);
        g_mime_parser_options_set_address_compliance_mode(p, GMIME_RFC_COMPLIANCE_LOOSE);
        return p;
    }();
    return pOptions;
}

GMimeMessage* ParseMailMessage(std::string_view raw)
{
    GMimeParserOptions* pOptions = MailParserOptions();
    // The stream owns a copy of the bytes, so the parse outlives no caller buffer.
    GByteArray* pArray = g_byte_array_new();
    g_byte_array_append(pArray, reinterpret_cast<const guint8*>(raw.data()), static_cast<guint>(raw.size()));
    CGObjectRef<GMimeStream> stream(g_mime_stream_mem_new_with_byte_array(pArray));
    CGObjectRef<GMimeParser> parser(g_mime_parser_new_with_stream(stream.Get()));
    g_mime_parser_set_format(parser.Get(), GMIME_FORMAT_MESSAGE);
    return g_mime_parser_construct_message(parser.Get(), pOptions);
}
