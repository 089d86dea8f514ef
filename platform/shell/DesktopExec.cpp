#include "platform/shell/DesktopExec.h"

#include "platform/shell/TrashInfo.h"

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n';
}

// Whether an argument is one field code alone.
bool IsCode(const std::string& strArg, char chCode)
{
    return strArg.size() == 2 && strArg[0] == '%' && strArg[1] == chCode;
}

// Replaces the field codes inside an argument (those that give at most one
// value); false for an unknown one or one that must stand alone.
bool ExpandInside(const std::string& strArg, const CExecTargets& targets, std::string& strOut)
{
    strOut.clear();
    for (size_t i = 0; i < strArg.size(); ++i) {
        if (strArg[i] != '%') {
            strOut += strArg[i];
            continue;
        }
        if (++i == strArg.size())
            return false;
        switch (strArg[i]) {
        case '%':
            strOut += '%';
            break;
        case 'f':
            if (!targets.files.empty())
                strOut += targets.files.front();
            break;
        case 'u':
            if (!targets.urls.empty())
                strOut += targets.urls.front();
            else if (!targets.files.empty())
                strOut += FileUrlOfHostPath(targets.files.front());
            break;
        case 'c':
            strOut += targets.strName;
            break;
        case 'k':
            strOut += targets.strLauncherPath;
            break;
        case 'd':
        case 'D':
        case 'n':
        case 'N':
        case 'v':
        case 'm':
            break;
        default: // %F, %U and %i only stand alone; other letters mean nothing
            return false;
        }
    }
    return true;
}

} // namespace

bool SplitDesktopExec(std::string_view exec, std::vector<std::string>& args)
{
    args.clear();
    if (exec.size() > EXEC_MAX_LENGTH)
        return false;
    size_t nPos = 0;
    for (;;) {
        while (nPos < exec.size() && IsBlank(exec[nPos]))
            ++nPos;
        if (nPos == exec.size())
            break;
        std::string strArg;
        while (nPos < exec.size() && !IsBlank(exec[nPos])) {
            if (exec[nPos] != '"') {
                strArg += exec[nPos++];
                continue;
            }
            // A quoted run: backslash quotes the next of " ` $ \.
            ++nPos;
            for (;;) {
                if (nPos == exec.size())
                    return false;
                char ch = exec[nPos++];
                if (ch == '"')
                    break;
                if (ch == '\\' && nPos < exec.size()
                    && std::string_view("\"`$\\").find(exec[nPos]) != std::string_view::npos)
                    ch = exec[nPos++];
                strArg += ch;
            }
        }
        if (args.size() == EXEC_MAX_ARGUMENTS)
            return false;
        args.push_back(std::move(strArg));
    }
    return !args.empty();
}

bool ExpandDesktopExec(std::string_view exec, const CExecTargets& targets, std::vector<std::string>& args)
{
    std::vector<std::string> split;
    if (!SplitDesktopExec(exec, split))
        return false;
    args.clear();
    for (const std::string& strArg : split) {
        if (IsCode(strArg, 'F')) {
            args.insert(args.end(), targets.files.begin(), targets.files.end());
        } else if (IsCode(strArg, 'U')) {
            if (!targets.urls.empty()) {
                args.insert(args.end(), targets.urls.begin(), targets.urls.end());
            } else {
                for (const std::string& strFile : targets.files)
                    args.push_back(FileUrlOfHostPath(strFile));
            }
        } else if (IsCode(strArg, 'i')) {
            if (!targets.strIcon.empty()) {
                args.emplace_back("--icon");
                args.push_back(targets.strIcon);
            }
        } else {
            std::string strExpanded;
            if (!ExpandInside(strArg, targets, strExpanded))
                return false;
            // A code alone that gave nothing (%f without a file) is no argument at all.
            bool bDropped = strExpanded.empty() && strArg.size() == 2 && strArg[0] == '%';
            if (!bDropped)
                args.push_back(std::move(strExpanded));
        }
        if (args.size() > EXEC_MAX_ARGUMENTS)
            return false;
    }
    return !args.empty() && !args.front().empty();
}

std::string FileUrlOfHostPath(const std::string& strHostPath)
{
    return "file://" + PercentEncodePath(strHostPath);
}
