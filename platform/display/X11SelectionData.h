#pragma once

// What the clipboard exchanges with other X clients through the CLIPBOARD
// selection, as pure functions of the bytes: text in the desktop's form and
// the program's, and the reassembly of data that arrives in chunks (INCR).
// The bytes come from other programs, so every result is well-formed
// whatever they hold, and a transfer never grows past its cap.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/* Text. The program keeps text as UTF-8 with CR LF line ends; the desktop
   exchanges it with LF line ends and without a closing NUL. */

// The program's text as the desktop's UTF-8 (UTF8_STRING): CR LF becomes LF,
// and a NUL ends the text.
std::string SelectionTextOf(std::string_view clipboardText);
// The desktop's UTF-8 as Latin-1 (STRING): characters past U+00FF become '?'.
std::string Latin1Of(std::string_view selectionText);
// Text another program gave (UTF-8, or Latin-1 with bLatin1) as the program
// keeps it: a byte that starts no valid character becomes U+FFFD, a lone LF
// becomes CR LF, and a NUL ends the text.
std::string ClipboardTextOf(std::span<const uint8_t> bytes, bool bLatin1);

/* Data arriving in chunks. */

// The chunks of one incremental transfer, joined. The transfer fails (and
// keeps failing) once the chunks would exceed the cap; an empty chunk ends it.
class CIncrAssembler {
public:
    enum class EStep {
        More,   // waits for the next chunk
        Done,   // the empty chunk came: Take() holds the data
        Failed, // past the cap, or a chunk after the end
    };

    explicit CIncrAssembler(size_t nCap)
        : m_nCap(nCap)
    {
    }

    // The size the owner announced (a lower bound of what follows): a size past
    // the cap fails the transfer at once.
    EStep Announce(uint64_t nSize);
    EStep Append(std::span<const uint8_t> chunk);
    EStep State() const { return m_eState; }
    // The joined data once Done; empty before.
    std::vector<uint8_t> Take();

private:
    size_t m_nCap;
    EStep m_eState { EStep::More };
    std::vector<uint8_t> m_data;
};
