#pragma once

// The constants a resource script may use without defining them: window,
// dialog and control styles, virtual-key codes and the standard dialog command
// IDs, with their documented values.

#include "platform/base/WinTypes.h"

#include <optional>
#include <string_view>

std::optional<LONGLONG> RcBuiltinSymbol(std::string_view name);
