#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Builders of synthetic mail stores, written from the stores' byte layouts, for
// tests that need stores of a known shape.

// One RFC 822 message; bCrLf chooses the line ends.
struct CFixtureMessage {
    std::string strSubject { "Subject" };
    std::string strFrom { "Ana <ana@example.com>" };
    std::string strTo { "Bo <bo@example.com>" };
    std::string strBody { "Body text.\n" };
    std::string strExtraHeaders; // Whole lines, "\n"-ended
    bool bCrLf { false };

    std::string Text() const;
};

// nCount CRLF messages with the subjects prefix + "0", prefix + "1", ..., each
// body nBodyBytes of one letter and a line end.
std::vector<std::string> FixtureMessages(const std::string& strSubjectPrefix, int nCount, size_t nBodyBytes = 40);

// An mbox: each message after a "From - <date>" line, an X-Mozilla-Status line
// with the given status (none when the list is shorter) as its first header.
std::string BuildMbox(const std::vector<std::string>& messages, const std::vector<unsigned>& statuses = {});

// An Outlook Express 4 store: the .mbx and the .idx, one index item per message
// with the given flags (0 when the list is shorter).
struct COe4Fixture {
    std::string strMbx;
    std::string strIdx;
    std::vector<uint32_t> mbxOffsets; // Of each message header
};
COe4Fixture BuildOe4Store(const std::vector<std::string>& messages, const std::vector<uint32_t>& flags = {});

// An Outlook Express 5 message folder holding the messages in order, its tree
// spread over several nodes when there are more than fit one.
struct CDbxFixture {
    std::string strDbx;
    std::vector<uint32_t> firstChunks; // Of each message
    std::vector<uint32_t> infos;       // Message info addresses
    std::vector<uint32_t> nodes;       // Tree node addresses, the root first
};
CDbxFixture BuildDbx(const std::vector<std::string>& messages);

// Little-endian access to fixture bytes.
uint32_t FixtureGetU32(const std::string& bytes, size_t nOffset);
void FixturePutU32(std::string& bytes, size_t nOffset, uint32_t nValue);

// Whole-file helpers.
std::string ReadWholeFile(const std::filesystem::path& path);
// The program path of a host path, as callers pass store paths.
std::string ProgramPath(const std::filesystem::path& path);
