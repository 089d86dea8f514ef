#pragma once

// What a relay keeps of a login: the session key that the LOGIN reply hands
// out in its "<#SESSION |key|#>" token, and how later requests carry it.

#include <string>

// The key of the reply text's SESSION token; empty when it has none.
std::string SessionKeyOf(const std::string& strReplyText);
// Line 1 of a request file: the user ID, then "|" and the key once logged in.
std::string UserLine(const std::string& strId, const std::string& strKey);
