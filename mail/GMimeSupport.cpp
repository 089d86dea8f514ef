#include "mail/GMimeSupport.h"

#include <mutex>

void EnsureGMime()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

GMimeParserOptions* MailParserOptions()
{
    static GMimeParserOptions* pOptions = [] {
        EnsureGMime();
        GMimeParserOptions* p = g_mime_parser_options_new();
        const char* charsets[] = { "UTF-8", "ISO-8859-1", nullptr };
        g_mime_parser_options_set_fallback_charsets(p, charsets);
        g_mime_parser_options_set_rfc2047_compliance_mode(p, GMIME_RFC_COMPLIANCE_LOOSE);
        g_mime_parser_options_set_address_compliance_mode(p, GMIME_RFC_COMPLIANCE_LOOSE);
        return p;
    }();
    return pOptions;
}
