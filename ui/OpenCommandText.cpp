#include "ui/OpenCommandText.h"

#include "resources/ResourceIds.h"

#include <iterator>

namespace {

// By open action: a mail message's, then a file's.
constexpr UINT MAIL_TEXTS[] = { IDS_OPEN_MAIL_REPLY, IDS_OPEN_MAIL_REPLY_ALL, IDS_OPEN_MAIL_FORWARD,
    IDS_OPEN_MAIL_AS_NEW, IDS_OPEN_MAIL_CLIENT };
constexpr UINT FILE_TEXTS[] = { IDS_OPEN, IDS_OPEN_WITH_SUBMENU, IDS_OPEN_VIEW, IDS_OPEN_EDIT };

} // namespace

UINT OpenCommandTextId(BOOL bMail, DWORD dwAction)
{
    if (bMail)
        return dwAction < std::size(MAIL_TEXTS) ? MAIL_TEXTS[dwAction] : IDS_OPEN;
    return dwAction < std::size(FILE_TEXTS) ? FILE_TEXTS[dwAction] : IDS_OPEN;
}
