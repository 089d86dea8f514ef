#include "platform/controls/EditClipboard.h"

#include <mutex>

namespace {

std::mutex s_mutex;
std::optional<std::string> s_text;

} // namespace

void SetEditClipboardText(const std::string& strText)
{
    std::lock_guard lock(s_mutex);
    s_text = strText;
}

std::optional<std::string> GetEditClipboardText()
{
    std::lock_guard lock(s_mutex);
    return s_text;
}
