#include "ui/ContentStatus.h"

#include "resources/ResourceIds.h"
#include "store/ContentReader.h"

UINT ContentStatusText(int nResult)
{
    switch (nResult) {
    case CONTENT_TEXT:
    case CONTENT_CONVERTED_TEXT:
    case CONTENT_PICTURE:
        return IDS_WA_TIP_READY;
    case CONTENT_PROTECTED_FILE:
    case CONTENT_PROTECTED:
        return IDS_WA_TIP_PROTECTED;
    case CONTENT_NOT_FOUND:
        return IDS_WA_TIP_NOT_FOUND;
    case CONTENT_UNREADABLE:
        return IDS_WA_TIP_UNREADABLE;
    case CONTENT_EMPTY:
        return IDS_WA_TIP_EMPTY;
    case CONTENT_NO_PREVIEW:
        return IDS_WA_TIP_NO_TEXT;
    default:
        return IDS_WA_TIP_NO_PREVIEW;
    }
}

BOOL IsContentFailure(int nResult)
{
    return nResult != CONTENT_TEXT && nResult != CONTENT_CONVERTED_TEXT && nResult != CONTENT_PICTURE;
}
