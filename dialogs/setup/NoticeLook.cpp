#include "dialogs/setup/NoticeLook.h"

#include "resources/ResourceIds.h"
#include "ui/CImageButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/gdi/SysColors.h"

void SetNoticeIcon(CImageButton& icon)
{
    SetSmallPicture(icon, IDB_BACKUP_PICTURE);
}

void SetSmallPicture(CImageButton& icon, UINT nIDBitmap)
{
    constexpr int ICON_WIDTH = 16;
    icon.CreateImageList(nIDBitmap, ICON_WIDTH, 1, RGB(255, 0, 255), GetSysColor(COLOR_BTNFACE));
}

void StyleNoticeTitle(CLabelCtrl& title)
{
    constexpr int TITLE_SIZE = 14;
    title.SetFontBold(TRUE).SetFontSize(TITLE_SIZE).SetTextColor(RGB(0, 0, 126));
}
