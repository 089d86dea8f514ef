#pragma once

// Special files in place of a program's regular files, and a way to call
// something that might wait for ever on one of them without the test waiting
// with it.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Runs fnCall in a child process and returns what it returned (0 to 255), or
// -1 when it did not return within nSeconds (the child is then killed) or
// ended any other way. The child shares nothing with the test but the files
// it leaves, so fnCall reports its findings through its result.
int RunInChildWithin(int nSeconds, const std::function<int()>& fnCall);

// One special file of each kind that can stand where a regular file is
// expected: a FIFO with no writer, a link to a character device that never
// ends (/dev/zero) and a bound local socket. Each is made at folder / its
// name; the names made.
std::vector<std::string> MakeSpecialFiles(const std::filesystem::path& folder);
