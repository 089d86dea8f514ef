#include "platform/display/X11Keys.h"

#include "platform/display/VirtualKeys.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

namespace {

// Kernel key codes of some keys (the keycode less 8).
constexpr UINT KEY_2 = 3;
constexpr UINT KEY_MINUS = 12;
constexpr UINT KEY_Q = 16;
constexpr UINT KEY_A = 30;
constexpr UINT KEY_SEMICOLON = 39;
constexpr UINT KEY_C = 46;
constexpr UINT KEY_EXTRA = 86;
constexpr UINT KEY_KP1 = 79;

UINT KeyOf(UINT nScanCode, unsigned long nKeysym, std::initializer_list<unsigned long> groups)
{
    std::vector<unsigned long> syms(groups);
    return VirtualKeyOfX11Key(nScanCode, nKeysym, syms);
}

}

TEST(X11KeysTest, LettersFollowTheLayoutWhereItIsLatin)
{
    // On a French keyboard the key at Q's place types A, and is A.
    EXPECT_EQ(KeyOf(KEY_Q, XK_a, { XK_a }), 'A');
    EXPECT_EQ(KeyOf(KEY_A, XK_Q, { XK_q }), 'Q');
}

TEST(X11KeysTest, LettersOfOtherScriptsFallBackToALatinGroupOrThePosition)
{
    // Cyrillic with an English group beside it: the English letter.
    EXPECT_EQ(KeyOf(KEY_C, XK_Cyrillic_es, { XK_Cyrillic_es, XK_c }), 'C');
    // Cyrillic alone: the key's US position, so Ctrl+C still copies.
    EXPECT_EQ(KeyOf(KEY_C, XK_Cyrillic_es, { XK_Cyrillic_es }), 'C');
}

TEST(X11KeysTest, DigitsAndPunctuationGoByPosition)
{
    // The French top row types é on its 2 key, which is still '2'.
    EXPECT_EQ(KeyOf(KEY_2, XK_eacute, { XK_eacute }), '2');
    EXPECT_EQ(KeyOf(KEY_MINUS, XK_parenright, { XK_parenright }), VK_OEM_MINUS);
    EXPECT_EQ(KeyOf(KEY_SEMICOLON, XK_m, { XK_m }), 'M'); // a letter there is a letter
    EXPECT_EQ(KeyOf(KEY_EXTRA, XK_less, { XK_less }), VK_OEM_102);
}

TEST(X11KeysTest, NamedKeysComeFromTheirKeysym)
{
    EXPECT_EQ(KeyOf(0, XK_F24, {}), VK_F24);
    EXPECT_EQ(KeyOf(0, XK_KP_Enter, {}), VK_RETURN);
    EXPECT_EQ(KeyOf(0, XK_Print, {}), VK_SNAPSHOT);
    EXPECT_EQ(KeyOf(0, XK_Super_R, {}), VK_RWIN);
    EXPECT_EQ(KeyOf(0, XK_ISO_Left_Tab, {}), VK_TAB);
    EXPECT_EQ(KeyOf(0, XK_Control_R, {}), VK_RCONTROL);
    EXPECT_EQ(KeyOf(0, XK_ISO_Level3_Shift, {}), VK_RMENU);
    EXPECT_EQ(KeyOf(0, XK_Scroll_Lock, {}), VK_SCROLL);
}

TEST(X11KeysTest, KeypadKeysFollowNumLock)
{
    EXPECT_EQ(KeyOf(KEY_KP1, XK_KP_1, { XK_KP_End }), VK_NUMPAD0 + 1);
    EXPECT_EQ(KeyOf(KEY_KP1, XK_KP_End, { XK_KP_End }), VK_END);
    EXPECT_EQ(KeyOf(0, XK_KP_Begin, {}), VK_CLEAR);
    EXPECT_EQ(KeyOf(0, XK_KP_Divide, {}), VK_DIVIDE);
}

TEST(X11KeysTest, KeysWithoutAMeaningGiveNone)
{
    EXPECT_EQ(KeyOf(200, 0x1008FF12 /* XF86AudioMute */, {}), 0u);
    EXPECT_EQ(KeyOf(0, 0, {}), 0u);
}
