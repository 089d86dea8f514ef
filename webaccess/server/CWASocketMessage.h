#pragma once

// The first line of a socket-channel exchange and how it is read. Fields are
// the texts between pairs of bars:
//   <#INIT |folder| |id| |key|...   (key: the session's, from its LOGIN reply)
//   <#INIT_UPL |folder| |id| |x| |y| |rawSize| |packedSize|...

#include "platform/base/CString.h"

// One received line and a read position (0 at first).
class CWASocketMessage {
public:
    explicit CWASocketMessage(const CString& strLine)
        : m_strLine(strLine)
    {
    }

    const CString& GetLine() const { return m_strLine; }

private:
    CString m_strLine;
    int m_nPos { 0 };

    friend CString GetPipeField(CWASocketMessage& message);
};

// The text between the next bar and the bar after it, moving the position past
// the second; an empty text, the position unchanged, when there is no such pair.
CString GetPipeField(CWASocketMessage& message);

// What a first line asks for.
struct CWAInitLine {
    enum Mode {
        REFUSED = 0,
        REQUEST = 1,
        UPLOAD = 2,
    };
    int nMode { REFUSED };
    LPCTSTR pszError { nullptr }; // the reply text of a refused line
    CString strFolderName;        // 4 to 11 letters, digits, '_' or '-'
    CString strId;                // 1 to 8 of the same
    CString strKey;               // a request's session key, up to 64 of the same; empty when none
    LONG nRawSize { 0 };          // upload bytes when not packed
    LONG nPackedSize { 0 };       // packed upload bytes; 0 when not packed
};

// clang-format off
constexpr LPCTSTR WA_CHANNEL_INVALID_COMMAND = "Invalid command!";
constexpr LPCTSTR WA_CHANNEL_INVALID_FOLDER  = "Invalid communication folder!";
constexpr LPCTSTR WA_CHANNEL_INVALID_ID      = "Invalid communication ID!";
constexpr LPCTSTR WA_CHANNEL_BUSY            = "System is busy!";
constexpr LPCTSTR WA_CHANNEL_CORRUPTED       = "Uploaded file corrupted!";
constexpr LPCTSTR WA_CHANNEL_TIME_OUT        = "Time Out";
constexpr LPCTSTR WA_CHANNEL_SHUT_DOWN       = "Communication Shut Down";
constexpr LPCTSTR WA_CHANNEL_NOT_ANNOUNCED   = "Upload not allowed!";
constexpr LPCTSTR WA_CHANNEL_TOO_LARGE       = "Uploaded file too large!";
constexpr LPCTSTR WA_CHANNEL_NO_SPACE        = "Not enough disk space!";
// clang-format on

// Reads a first line (its line end removed). The sizes must be decimal
// numbers from 0 to 2147483647, else the line is an invalid command.
CWAInitLine ParseInitLine(const CString& strLine);
