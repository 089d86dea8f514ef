#pragma once

// What the mail readers share of GMime: the parser options every parse and
// header decode uses, the whole-message parse, and an owner of one GObject
// reference.

#include <gmime/gmime.h>

#include <string_view>

// The options of every parse: raw 8-bit header text that is not UTF-8 is read
// as Latin-1, as older clients wrote it, and encoded words and addresses are
// read leniently. The first call sets GMime up for the whole process (the
// readers can run on any thread), so code takes the options before it asks
// GMime for anything else.
GMimeParserOptions* MailParserOptions();

// Parses a whole stored message (headers and body as one RFC 822 text) with
// the options above; null when the parser rejects it. The caller owns the
// message.
GMimeMessage* ParseMailMessage(std::string_view raw);

// Appends the addresses of a field value to a list, keeping those read before
// a damaged one, as the message parser does for its address fields. GMime
// exports this without declaring it in its headers.
extern "C" void internet_address_list_append_parse(
    InternetAddressList* pList, GMimeParserOptions* pOptions, const char* pszText);

// Owns one GObject reference.
template<typename T> class CGObjectRef {
public:
    explicit CGObjectRef(T* p)
        : m_p(p)
    {
    }
    ~CGObjectRef()
    {
        if (m_p)
            g_object_unref(m_p);
    }
    CGObjectRef(const CGObjectRef&) = delete;
    CGObjectRef& operator=(const CGObjectRef&) = delete;
    T* Get() const { return m_p; }

private:
    T* m_p;
};
