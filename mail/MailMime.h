#pragma once

#include <string>
#include <string_view>

// The message's readable text: the first text/plain part that is not an
// attachment, else the first text/html part with its markup removed; transfer
// encodings undone and the charset converted to UTF-8. Empty when there is none.
std::string MailTextFromMime(std::string_view raw);

// The visible text of an HTML fragment: tags, comments, scripts and styles
// removed, common entities and numeric references replaced.
std::string MailTextFromHtml(std::string_view html);
