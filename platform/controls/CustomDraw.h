#pragma once

// NM_CUSTOMDRAW: a control asks its parent before and after it paints, and
// before and after each item when asked to, so the parent can change colours
// and fonts or draw over the result.

#include "platform/controls/CommonControls.h"

// clang-format off
constexpr UINT NM_CUSTOMDRAW = static_cast<UINT>(-12);

/* NMCUSTOMDRAW::dwDrawStage. */
constexpr DWORD CDDS_PREPAINT      = 0x00000001;
constexpr DWORD CDDS_POSTPAINT     = 0x00000002;
constexpr DWORD CDDS_ITEM          = 0x00010000;
constexpr DWORD CDDS_ITEMPREPAINT  = CDDS_ITEM | CDDS_PREPAINT;
constexpr DWORD CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT;

/* Answers. */
constexpr LRESULT CDRF_DODEFAULT        = 0x00000000;
constexpr LRESULT CDRF_NEWFONT          = 0x00000002; // the handler selected a font into hdc
constexpr LRESULT CDRF_SKIPDEFAULT      = 0x00000004; // the handler drew the item
constexpr LRESULT CDRF_NOTIFYPOSTPAINT  = 0x00000010;
constexpr LRESULT CDRF_NOTIFYITEMDRAW   = 0x00000020;

/* NMCUSTOMDRAW::uItemState. */
constexpr UINT CDIS_SELECTED = 0x0001;
constexpr UINT CDIS_FOCUS    = 0x0010;
constexpr UINT CDIS_HOT      = 0x0040;
// clang-format on

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage; // CDDS_*
    HDC hdc;
    RECT rc;
    DWORD_PTR dwItemSpec; // the item
    UINT uItemState;      // CDIS_*
    LPARAM lItemlParam;
};
using LPNMCUSTOMDRAW = NMCUSTOMDRAW*;
