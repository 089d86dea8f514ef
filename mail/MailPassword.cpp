#include "mail/MailPassword.h"

#include <cstdint>

namespace {

// Each byte is combined with a key byte chosen by its position and rotated by
// an amount that also depends on the position, so equal characters in a
// password scramble to different digits.
constexpr uint8_t SCRAMBLE_KEY[16]
    = { 0x5A, 0xC3, 0x17, 0x8E, 0x2D, 0xF4, 0x61, 0x9B, 0x36, 0xE8, 0x0F, 0x72, 0xA9, 0x44, 0xD5, 0x1C };

uint8_t RotateLeft(uint8_t n, unsigned nBits)
{
    nBits &= 7;
    return nBits == 0 ? n : static_cast<uint8_t>((n << nBits) | (n >> (8 - nBits)));
}

int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    return -1;
}

} // namespace

std::string ScramblePassword(std::string_view password)
{
    static const char DIGITS[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(password.size() * 2);
    for (size_t i = 0; i < password.size(); ++i) {
        uint8_t n = static_cast<uint8_t>(password[i]) ^ SCRAMBLE_KEY[i % 16];
        n = RotateLeft(n, static_cast<unsigned>(i % 7 + 1));
        text += DIGITS[n >> 4];
        text += DIGITS[n & 15];
    }
    return text;
}

bool UnscramblePassword(std::string_view scrambled, std::string& password)
{
    password.clear();
    while (!scrambled.empty() && (scrambled.back() == ' ' || scrambled.back() == '\t'))
        scrambled.remove_suffix(1);
    while (!scrambled.empty() && (scrambled.front() == ' ' || scrambled.front() == '\t'))
        scrambled.remove_prefix(1);
    if (scrambled.size() % 2 != 0)
        return false;
    std::string plain;
    for (size_t i = 0; i < scrambled.size() / 2; ++i) {
        int nHigh = HexValue(scrambled[2 * i]);
        int nLow = HexValue(scrambled[2 * i + 1]);
        if (nHigh < 0 || nLow < 0)
            return false;
        auto n = static_cast<uint8_t>(nHigh << 4 | nLow);
        // Rotating right by k is rotating left by 8 - k.
        n = RotateLeft(n, 8 - static_cast<unsigned>(i % 7 + 1));
        plain += static_cast<char>(n ^ SCRAMBLE_KEY[i % 16]);
    }
    password = std::move(plain);
    return true;
}
