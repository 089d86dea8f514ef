#pragma once

// The Exec line of a desktop launcher: how a launcher starts its program. The
// value is split into arguments by the desktop-entry quoting rules (double
// quotes, inside which \" \` \$ and \\ stand for the character), and field
// codes are replaced by what the launch is given:
//
//   %f %u   the first file (host path) or URL; nothing when there is none
//   %F %U   every file or URL, one argument each (only as a whole argument)
//   %i      "--icon" and the launcher's icon, when it has one (whole argument)
//   %c      the launcher's name        %k  the launcher file's path
//   %%      "%"                        %d %D %n %N %v %m  (deprecated) dropped
//
// Anything else is a damaged line and is refused whole: an unclosed quote, an
// unknown or misplaced field code, an empty line, more than EXEC_MAX_ARGUMENTS
// arguments or a line longer than EXEC_MAX_LENGTH.

#include <string>
#include <string_view>
#include <vector>

constexpr size_t EXEC_MAX_LENGTH = 64 * 1024;
constexpr size_t EXEC_MAX_ARGUMENTS = 4096;

// What a launch gives the field codes.
struct CExecTargets {
    std::vector<std::string> files; // host paths, for %f and %F
    std::vector<std::string> urls;  // for %u and %U; files count as file URLs when there are no URLs
    std::string strIcon;            // the launcher's Icon
    std::string strName;            // its Name
    std::string strLauncherPath;    // its file
};

// Splits an Exec value (already read as a desktop-entry string) into its
// arguments, field codes kept; false for a damaged line.
[[nodiscard]] bool SplitDesktopExec(std::string_view exec, std::vector<std::string>& args);

// The command line an Exec value gives for the targets; false for a damaged
// line. The first argument is the program.
[[nodiscard]] bool ExpandDesktopExec(
    std::string_view exec, const CExecTargets& targets, std::vector<std::string>& args);

// A host path as a file URL ("file:///home/ana/plan%20b.txt").
std::string FileUrlOfHostPath(const std::string& strHostPath);
