#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets an environment variable for the life of the object and puts the old
// value back afterwards, so a test can point HOME, PATH or TMPDIR at its own folder.
class ScopedVariable {
public:
    ScopedVariable(const char* pszName, const std::string& strValue)
        : m_strName(pszName)
    {
        if (const char* pszOld = std::getenv(pszName))
            m_strOld = pszOld;
        setenv(pszName, strValue.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (m_strOld)
            setenv(m_strName.c_str(), m_strOld->c_str(), 1);
        else
            unsetenv(m_strName.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string m_strName;
    std::optional<std::string> m_strOld;
};
