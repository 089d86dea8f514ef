#pragma once

// A test's own X client: it moves the pointer, presses buttons and keys
// through the XTEST extension, as a user at the server would, and reads
// windows' pixels back from the server. Coordinates are the root window's.
// It has its own connection, so it may run on a thread of its own while the
// program under test waits for the events it causes.

#include "platform/gdi/GdiTypes.h"

#include <string>

typedef struct _XDisplay Display;

class CXTestInput {
public:
    explicit CXTestInput(const std::string& strDisplay);
    ~CXTestInput();
    CXTestInput(const CXTestInput&) = delete;
    CXTestInput& operator=(const CXTestInput&) = delete;

    // Whether the connection is open and the server has XTEST.
    bool IsOpen() const { return m_pDisplay != nullptr; }
    Display* Connection() const { return m_pDisplay; }

    /* Pointer. Buttons are X's: 1 left, 2 middle, 3 right, 4 and 5 the wheel. */

    void MoveTo(POINT ptRoot);
    void Button(unsigned int nButton, bool bDown);
    void Click(POINT ptRoot, unsigned int nButton = 1);

    /* Keyboard, by keysym (X11/keysym.h); a keysym the keymap lacks does nothing. */

    void Key(unsigned long nKeysym, bool bDown);
    void TapKey(unsigned long nKeysym);
    // Types ASCII text, with Shift where the keymap puts a character on its second level.
    void TypeText(const std::string& strText);
    // Puts `nKeysym` on a keycode the keymap leaves unused and returns that
    // keycode (0 when none is free), so that keys no layout here has can be typed.
    unsigned int MapSpareKeycode(unsigned long nKeysym);

    /* The server's side. */

    // A new bitmap of the window's area as the server shows it, other
    // windows that cover it included (the caller deletes it); NULL when the
    // window is not viewable.
    HBITMAP CaptureWindow(unsigned long nWindow);
    // Waits until the server has handled everything sent so far.
    void Sync();

private:
    Display* m_pDisplay { nullptr };
};
