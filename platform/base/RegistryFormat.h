#pragma once

// The text form of one registry root, as kept in its settings file.
//
//     ARCHIVORA-REGISTRY 1
//     ; Lines starting with ';' and blank lines are ignored.
//     []
//     [Software\Vendor\App]
//     @=sz:"The default value"
//     "Title"=sz:"Quarterly \"draft\"\n"
//     "Path"=expand_sz:"%HOME%\\docs"
//     "Count"=dword:0000002a
//     "Recent"=multi_sz:"a.txt","b.txt"
//     "Window"=hex:2c,00,00,00
//     "Odd"=hex(b):01,00,00,00,00,00,00,00
//     END
//
// The first line names the format and its version. Each key starts with its
// path in brackets, "[]" being the root itself; a key's parent keys come before
// it. In a path, backslashes separate the key names, and the bytes 00-1F, 7F
// and '%' inside a name are written as %XX (two hex digits).
//
// Each value line gives the value's name ('@' for the default value) or a
// quoted name, then '=', a type and ':' and the data:
//   sz, expand_sz  a quoted string; the stored data is its bytes and a NUL.
//   multi_sz       quoted strings separated by commas, each stored with its NUL,
//                  then one more NUL; nothing at all stands for the data "\0".
//   dword          eight hex digits, the number (stored little-endian, 4 bytes).
//   hex            REG_BINARY bytes as two hex digits each, separated by commas.
//   hex(T)         bytes of type T (hex), for data none of the forms above fits.
// Quoted strings are UTF-8; inside them \\ \" \n \r \t stand for themselves and
// \xHH for any byte.
//
// The last line is "END"; a file without it was cut short and does not parse.

#include "platform/base/RegistryTree.h"

#include <string>
#include <string_view>

// Parses `text` into `root` (which must be empty). On failure returns false and
// sets `strError` to a sentence naming the line; `root` is then left partly filled.
bool ParseRegistryText(std::string_view text, CRegistryNode& root, std::string& strError);

// The text form of the tree under `root`.
std::string FormatRegistryText(const CRegistryNode& root);
