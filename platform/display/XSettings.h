#pragma once

// The XSETTINGS a settings manager publishes for the desktop's programs (the
// double-click time among them): a pure decoder of the manager's property,
// which is another program's bytes. Anything malformed (a bad byte order, a
// count or length beyond the data, a truncated value) ends the reading: the
// settings read before it stand, none after it.

#include <cstdint>
#include <map>
#include <span>
#include <string>

// The integer settings of an _XSETTINGS_SETTINGS value, by name; string and
// colour settings are passed over.
std::map<std::string, int32_t> DecodeXSettingsIntegers(std::span<const uint8_t> data);
