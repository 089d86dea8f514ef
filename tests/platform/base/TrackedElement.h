#pragma once

// An element type for collection tests that counts its live objects, so a test
// can check that a collection constructs and destroys every element exactly
// once. Each object also owns heap memory, so a bitwise move or a missed
// destruction shows up under the address sanitizer.

#include <memory>

class TrackedElement {
public:
    TrackedElement()
        : TrackedElement(0)
    {
    }
    TrackedElement(int nValue)
        : m_pValue(std::make_unique<int>(nValue))
    {
        ++s_nLive;
    }
    TrackedElement(const TrackedElement& other)
        : TrackedElement(other.Value())
    {
    }
    TrackedElement(TrackedElement&& other) noexcept
        : m_pValue(std::move(other.m_pValue))
    {
        ++s_nLive;
    }
    TrackedElement& operator=(const TrackedElement& other)
    {
        m_pValue = std::make_unique<int>(other.Value());
        return *this;
    }
    TrackedElement& operator=(TrackedElement&& other) noexcept = default;
    ~TrackedElement() { --s_nLive; }

    // A moved-from element reads -1.
    int Value() const { return m_pValue ? *m_pValue : -1; }
    bool operator==(const TrackedElement& other) const { return Value() == other.Value(); }

    static int LiveCount() { return s_nLive; }

private:
    std::unique_ptr<int> m_pValue;
    static inline int s_nLive = 0;
};
