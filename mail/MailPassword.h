#pragma once

// The scrambling of protection values that travel inside stored messages. It
// hides a password from a casual look at the store; it is not encryption.
// A scrambled value is upper-case hex text, two digits per byte, so it fits a
// header line.

#include <string>
#include <string_view>

// Scrambles a password (any bytes) into its hex text.
std::string ScramblePassword(std::string_view password);

// Restores a password from its hex text; false (and `password` empty) when the
// text is not a scrambled value.
bool UnscramblePassword(std::string_view scrambled, std::string& password);
