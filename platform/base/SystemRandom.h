#pragma once

// Random bytes from the system's cryptographic source, for secrets that no
// one may guess.

#include "platform/base/WinTypes.h"

// Fills the buffer; FALSE (the buffer's contents undefined) when the source
// cannot be read.
BOOLEAN RtlGenRandom(PVOID pBuffer, ULONG nLength);
