#pragma once

// Command lines as Windows programs write them: arguments separated by blanks,
// double quotes grouping blanks into one argument, and backslashes literal
// except before a quote, where 2n backslashes give n and a quote that opens or
// closes, and 2n + 1 give n and a literal quote. Inside quotes, "" gives a
// literal quote.

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine);
