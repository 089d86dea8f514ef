// archivora_rc: compiles a resource script into a resource module.
//
//   archivora_rc [--depfile <file>] -o <module> <script>
//
// Errors go to standard error as "file:line: error: message" and the exit
// status is 1; the module is written only when the whole script compiles. The
// depfile, for the build system, lists every file the module was made from.

#include "tools/rc/RcCompiler.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

int Usage()
{
    std::fprintf(stderr, "usage: archivora_rc [--depfile <file>] -o <module> <script>\n");
    return 2;
}

// Writes through a temporary file renamed into place, so a failed or
// interrupted run never leaves a half-written file under the final name.
bool WriteFileAtomically(const fs::path& path, const void* pData, size_t nSize)
{
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
        if (!out.flush()) {
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    return !ec;
}

// Make syntax: spaces, '#' and '$' in names are escaped.
std::string DepfileName(const fs::path& path)
{
    std::string strName;
    for (char c : fs::absolute(path).lexically_normal().string()) {
        if (c == ' ' || c == '#')
            strName += '\\';
        else if (c == '$')
            strName += '$';
        strName += c;
    }
    return strName;
}

}

int main(int argc, char** argv)
{
    fs::path script;
    fs::path output;
    fs::path depfile;
    for (int i = 1; i < argc; ++i) {
        std::string strArg = argv[i];
        if ((strArg == "-o" || strArg == "--depfile") && i + 1 < argc)
            (strArg == "-o" ? output : depfile) = argv[++i];
        else if (!strArg.empty() && strArg[0] != '-' && script.empty())
            script = strArg;
        else
            return Usage();
    }
    if (script.empty() || output.empty())
        return Usage();

    RcOutput result;
    std::string strError;
    if (!CompileResourceScript(script, result, strError)) {
        // Messages come as "file:line: text"; the compiler's word "error" goes after the line.
        size_t nColon = strError.find(": ");
        if (nColon == std::string::npos)
            std::fprintf(stderr, "error: %s\n", strError.c_str());
        else
            std::fprintf(stderr, "%s: error: %s\n", strError.substr(0, nColon).c_str(), strError.c_str() + nColon + 2);
        return 1;
    }
    if (!WriteFileAtomically(output, result.module.data(), result.module.size())) {
        std::fprintf(stderr, "%s: error: cannot write the module\n", output.string().c_str());
        return 1;
    }
    if (!depfile.empty()) {
        std::string strDeps = DepfileName(output) + ":";
        for (const fs::path& input : result.inputs)
            strDeps += " \\\n  " + DepfileName(input);
        strDeps += "\n";
        if (!WriteFileAtomically(depfile, strDeps.data(), strDeps.size())) {
            std::fprintf(stderr, "%s: error: cannot write the dependency file\n", depfile.string().c_str());
            return 1;
        }
    }
    return 0;
}
