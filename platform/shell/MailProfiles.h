#pragma once

// The profiles of the mbox mail clients installed here (Thunderbird and the
// other Mozilla-family clients), presented to the program as users of the
// Netscape mail client. Each profile becomes a key under
// HKEY_LOCAL_MACHINE\SOFTWARE\Netscape\Netscape Navigator\Users named after the
// profile, whose "DirRoot" value is the program path of the profile folder; the
// mail code finds the profile's Mail and ImapMail folder trees from there, as
// it does for any Netscape user.
//
// The keys are written into the registry rather than synthesised on read, so
// the registry stays one plain tree. To keep them from going stale,
// PresentMailClientProfiles brings them up to date with the profiles.ini files
// and the Netscape finder calls it at the start of every scan. Each presented
// key carries a "Presented" value naming the profiles.ini it came from. Only
// keys carrying it are ever changed or removed: users entered by other means are
// left alone, and an edit to a presented key is undone by the next scan, which
// is how the keys stay read-only in effect.

#include "platform/base/Registry.h"

#include <string>
#include <string_view>
#include <vector>

constexpr LPCTSTR MAIL_NETSCAPE_USERS_KEY = "SOFTWARE\\Netscape\\Netscape Navigator\\Users"; // under HKLM
constexpr LPCTSTR MAIL_NETSCAPE_DIR_ROOT = "DirRoot";                                        // A user's profile folder
constexpr LPCTSTR MAIL_PRESENTED_VALUE = "Presented"; // The profiles.ini a presented user came from
constexpr size_t MAIL_MAX_PROFILES_PER_FILE = 64;     // More profile sections than this is not a profiles.ini
constexpr size_t MAIL_MAX_PROFILE_PATH = 4096;        // Longer profile paths are refused

// One profile of an installed mail client.
struct CMailClientProfile {
    std::string strName;     // The profile's name, usable as a registry key name
    std::string strHostPath; // Its folder
    std::string strSource;   // Host path of the profiles.ini that lists it
};

// Reads the text of a profiles.ini kept in the host folder strIniFolder: one
// profile for each [ProfileN] section with a Path, a relative path (IsRelative
// other than 0) taken from strIniFolder. A profile without a Name is named after
// the last folder of its path; backslashes and control characters in names
// become '_'. Sections of other kinds, sections without a Path and unknown keys
// are ignored. False, with no profiles, when the text lists more than
// MAIL_MAX_PROFILES_PER_FILE profiles or a path longer than MAIL_MAX_PROFILE_PATH.
[[nodiscard]] bool ReadMailClientProfiles(
    std::string_view text, const std::string& strIniFolder, std::vector<CMailClientProfile>& profiles);

// The profiles of the mail clients installed for the user whose home folder is
// $HOME: every readable profiles.ini of the known Mozilla-family clients, and of
// their profiles only those whose folder exists. Empty when HOME is not set.
std::vector<CMailClientProfile> FindMailClientProfiles();

// The name of the mail client (such as "Thunderbird") whose profiles.ini lies
// at the host path strIniPath, the path a presented user's MAIL_PRESENTED_VALUE
// holds; empty for a file of no known client.
std::string MailClientNameOfProfiles(std::string_view strIniPath);

// Brings the presented users under MAIL_NETSCAPE_USERS_KEY up to date with
// FindMailClientProfiles: adds the new profiles, corrects changed ones and
// removes those that are gone. A profile whose name another user already holds
// is presented as "name (2)", "name (3)" and so on. ERROR_SUCCESS or the
// registry's error.
LSTATUS PresentMailClientProfiles();
