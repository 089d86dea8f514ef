#pragma once

// The readable text of an HTML document, as a reader sees it rendered: tags
// dropped, the contents of scripts, styles and the title left out, block
// elements and line breaks starting new lines, runs of white space made one
// blank (kept as they are inside <pre>), and character references decoded.

#include <string>
#include <string_view>

// Whether a file is HTML: by its extension (without the dot, any case), or by
// a document that starts with a doctype or an <html> tag.
bool IsHtmlDocument(std::string_view strExtension, std::string_view strData);

// The character set the document's <meta> names ("charset=..."), lower-cased;
// empty when it names none.
std::string HtmlDeclaredCharset(std::string_view strHtml);

// The text of the document, in the character set of its bytes (callers
// convert bytes to UTF-8 first; references become UTF-8).
std::string HtmlToText(std::string_view strHtml);
