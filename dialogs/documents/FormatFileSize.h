#pragma once

// The size text of the document pages: "%ld bytes" up to 1024 bytes, then
// whole kilobytes as "%.2f KB (%ld bytes) " up to 1024 of them, then
// "%.2f MB (%ld bytes) ". The blank at the end belongs to the text. Sizes of
// 2 GiB and more are shown as they are.

#include "platform/base/CString.h"

#include <cstdint>

CString FormatFileSize(std::int64_t nBytes);
