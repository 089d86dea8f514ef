#pragma once

// The addresses an HTML view understands, and reading the pages and pictures
// they name.
//
// A Windows path ("C:\dir\page.html", "\\server\share\page.html") or a
// "file://" URL names a file. "res://<module>/<name>" names the resource
// <name> of type HTML (23) in the current resource module, whatever module
// path it gives (the program file carries no resources of its own). Anything
// else with a scheme ("http:", "mailto:", "app:") is for someone else. A
// relative address resolves against a base: the directory of a file, the
// module of a resource, or the folder of a URL.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The largest page or picture read, so that no outside file costs unbounded memory.
constexpr size_t HTML_MAX_BYTES = 1 << 20;

enum class EHtmlUrlKind {
    File,     // a program path or file: URL
    Resource, // res://
    Other,    // another scheme, or a relative address
};

EHtmlUrlKind HtmlUrlKind(std::string_view url);
// Whether the address stands on its own (a scheme, a drive or a UNC path).
bool IsAbsoluteHtmlUrl(std::string_view url);
// `url` made absolute against `base` (itself when absolute or base is empty).
std::string ResolveHtmlUrl(std::string_view base, std::string_view url);
// The program path of a file address; empty for other kinds.
std::string HtmlUrlFilePath(std::string_view url);
// The bytes a file or resource address names; nothing when it is missing, of
// another kind, or larger than nMaxBytes.
std::optional<std::string> ReadHtmlUrl(std::string_view url, size_t nMaxBytes = HTML_MAX_BYTES);
