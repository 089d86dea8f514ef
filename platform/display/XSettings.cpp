#include "platform/display/XSettings.h"

namespace {

// Reads the value's fields in its own byte order, never past its end.
class CSettingsReader {
public:
    CSettingsReader(std::span<const uint8_t> data, bool bBigEndian)
        : m_data(data)
        , m_bBigEndian(bBigEndian)
    {
    }

    bool Skip(size_t nBytes)
    {
        if (nBytes > m_data.size() - m_nPos)
            return false;
        m_nPos += nBytes;
        return true;
    }
    bool Card8(uint8_t* pValue)
    {
        if (m_nPos >= m_data.size())
            return false;
        *pValue = m_data[m_nPos++];
        return true;
    }
    bool Card16(uint16_t* pValue)
    {
        if (2 > m_data.size() - m_nPos)
            return false;
        uint16_t a = m_data[m_nPos];
        uint16_t b = m_data[m_nPos + 1];
        *pValue = static_cast<uint16_t>(m_bBigEndian ? (a << 8) | b : (b << 8) | a);
        m_nPos += 2;
        return true;
    }
    bool Card32(uint32_t* pValue)
    {
        if (4 > m_data.size() - m_nPos)
            return false;
        uint32_t nValue = 0;
        for (int i = 0; i < 4; ++i) {
            uint32_t nByte = m_data[m_nPos + static_cast<size_t>(i)];
            nValue |= m_bBigEndian ? nByte << (8 * (3 - i)) : nByte << (8 * i);
        }
        *pValue = nValue;
        m_nPos += 4;
        return true;
    }
    bool Text(size_t nLength, std::string* pText)
    {
        size_t nPadded = (nLength + 3) & ~size_t { 3 };
        if (nLength > m_data.size() - m_nPos || nPadded > m_data.size() - m_nPos)
            return false;
        pText->assign(reinterpret_cast<const char*>(m_data.data() + m_nPos), nLength);
        m_nPos += nPadded;
        return true;
    }

private:
    std::span<const uint8_t> m_data;
    bool m_bBigEndian;
    size_t m_nPos { 0 };
};

constexpr uint8_t TYPE_INTEGER = 0;
constexpr uint8_t TYPE_STRING = 1;
constexpr uint8_t TYPE_COLOR = 2;
constexpr uint8_t MSB_FIRST = 1;

}

std::map<std::string, int32_t> DecodeXSettingsIntegers(std::span<const uint8_t> data)
{
    std::map<std::string, int32_t> settings;
    if (data.empty() || data[0] > MSB_FIRST)
        return settings;
    CSettingsReader reader(data, data[0] == MSB_FIRST);
    uint32_t nSerial = 0;
    uint32_t nCount = 0;
    if (!reader.Skip(4) || !reader.Card32(&nSerial) || !reader.Card32(&nCount))
        return settings;
    // Each setting takes at least 12 bytes, so a count beyond that is a lie the loop ends on.
    for (uint32_t i = 0; i < nCount; ++i) {
        uint8_t nType = 0;
        uint16_t nNameLength = 0;
        std::string strName;
        uint32_t nChangeSerial = 0;
        if (!reader.Card8(&nType) || !reader.Skip(1) || !reader.Card16(&nNameLength)
            || !reader.Text(nNameLength, &strName) || !reader.Card32(&nChangeSerial))
            return settings;
        if (nType == TYPE_INTEGER) {
            uint32_t nValue = 0;
            if (!reader.Card32(&nValue))
                return settings;
            settings[strName] = static_cast<int32_t>(nValue);
        } else if (nType == TYPE_STRING) {
            uint32_t nLength = 0;
            std::string strValue;
            if (!reader.Card32(&nLength) || !reader.Text(nLength, &strValue))
                return settings;
        } else if (nType == TYPE_COLOR) {
            if (!reader.Skip(8))
                return settings;
        } else {
            return settings;
        }
    }
    return settings;
}
