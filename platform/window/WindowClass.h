#pragma once

// Window classes and registered names.
//
// A class is found by name without regard to case: first among the classes
// registered with the instance handle CreateWindowEx is given, then among the
// classes registered with CS_GLOBALCLASS. Class names and registered message
// names share one table of atoms numbered from 0xC000 up.

#include "platform/window/WindowTypes.h"

/* Registering classes. */

// Both return the class atom, or 0 with ERROR_CLASS_ALREADY_EXISTS (the name is
// taken for that instance, or globally) or ERROR_INVALID_PARAMETER (no name, no
// procedure, negative extra sizes, a wrong cbSize).
ATOM RegisterClass(const WNDCLASS* lpWndClass);
ATOM RegisterClassEx(const WNDCLASSEX* lpWndClassEx);

// Fails with ERROR_CLASS_DOES_NOT_EXIST, or ERROR_CLASS_HAS_WINDOWS while windows of the class live.
BOOL UnregisterClass(LPCSTR lpClassName, HINSTANCE hInstance);

/* Reading classes. */

// Fill in the registration as given (lpszClassName points to the name kept
// here); fail with ERROR_CLASS_DOES_NOT_EXIST. GetClassInfoEx returns the atom.
BOOL GetClassInfo(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASS lpWndClass);
BOOL GetClassInfoEx(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSEX lpWndClassEx);

// Copies the class name of a window (at most nMaxCount - 1 bytes, never part of
// a character) and returns the bytes copied; 0 with the last error set on failure.
int GetClassName(HWND hWnd, LPSTR lpClassName, int nMaxCount);

/* Registered messages. */

// The message number for `lpString`, from 0xC000 to 0xFFFF: the same for the
// same name in any case. 0 with ERROR_INVALID_PARAMETER for an empty name.
UINT RegisterWindowMessage(LPCSTR lpString);
