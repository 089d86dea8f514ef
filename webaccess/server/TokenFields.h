#pragma once

// Reads the fields of a command token for a command's parser, counting every
// character it takes in the command's consumed count. A failed read sets the
// command's status to 2 (malformed); Finish sets 0 when "#>" ends the token.

#include "webaccess/server/CWACommand.h"

#include <string_view>

class CTokenFieldReader {
public:
    CTokenFieldReader(LPCTSTR pszText, CWACommand& command)
        : m_pszNext(pszText)
        , m_command(command)
    {
    }

    // Skips white space and takes "|text|"; the text holds no '|' and no line
    // end. FALSE, with status 2, when no whole field follows.
    [[nodiscard]] BOOL ReadField(std::string_view& field);
    // Skips white space; TRUE when "#>" comes next.
    BOOL AtEnd();
    // Skips white space and expects "#>": status 0 and TRUE, else status 2.
    BOOL Finish();
    // Sets status 2; FALSE for the parser to return.
    BOOL Fail();

private:
    void SkipWhiteSpace();

    LPCTSTR m_pszNext;
    CWACommand& m_command;
};
