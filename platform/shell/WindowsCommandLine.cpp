#include "platform/shell/WindowsCommandLine.h"

std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine)
{
    std::vector<std::string> args;
    size_t nPos = 0;
    auto isBlank = [](char ch) { return ch == ' ' || ch == '\t'; };
    for (;;) {
        while (nPos < commandLine.size() && isBlank(commandLine[nPos]))
            ++nPos;
        if (nPos == commandLine.size())
            return args;
        std::string strArg;
        bool bQuoted = false;
        while (nPos < commandLine.size() && (bQuoted || !isBlank(commandLine[nPos]))) {
            size_t nBackslashes = 0;
            while (nPos < commandLine.size() && commandLine[nPos] == '\\') {
                ++nBackslashes;
                ++nPos;
            }
            if (nPos < commandLine.size() && commandLine[nPos] == '"') {
                strArg.append(nBackslashes / 2, '\\');
                if (nBackslashes % 2) {
                    strArg += '"';
                } else if (bQuoted && nPos + 1 < commandLine.size() && commandLine[nPos + 1] == '"') {
                    strArg += '"';
                    ++nPos;
                } else {
                    bQuoted = !bQuoted;
                }
                ++nPos;
            } else {
                strArg.append(nBackslashes, '\\');
                if (nPos < commandLine.size() && (bQuoted || !isBlank(commandLine[nPos])))
                    strArg += commandLine[nPos++];
            }
        }
        args.push_back(std::move(strArg));
    }
}
