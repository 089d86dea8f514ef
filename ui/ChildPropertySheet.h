#pragma once

// Property sheets inside dialogs: a sheet without buttons made as a child of
// a dialog and placed where a placeholder control stands, so that the
// dialog's keyboard interface (Tab, arrows, mnemonics, Enter) walks through
// the sheet's pages as if their controls were the dialog's.

#include "platform/window/WindowTypes.h"

class CDialog;
class CPropertySheet;

// Makes pSheet a child of pDialog with dwStyle (WS_CHILD | WS_VISIBLE as a
// rule) and dwExStyle, and gives both WS_EX_CONTROLPARENT. FALSE when the
// sheet could not be made.
BOOL CreateChildPropertySheet(CDialog* pDialog, CPropertySheet* pSheet, DWORD dwStyle, DWORD dwExStyle);

// Moves the sheet's top-left corner to that of the control nPlaceholderID,
// keeping the sheet's size, and puts the sheet right after the placeholder
// in the z-order, which is the dialog's tab order. FALSE without the placeholder.
BOOL PlaceChildPropertySheet(CDialog* pDialog, CPropertySheet* pSheet, UINT nPlaceholderID);
