// Links: platform_shell
// Reads arbitrary bytes as a mail client's profiles.ini: whatever it accepts
// must be a bounded list of usable profiles.

#include "platform/shell/MailProfiles.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    std::vector<CMailClientProfile> profiles;
    if (!ReadMailClientProfiles(text, "/home/fuzz/.thunderbird", profiles)) {
        if (!profiles.empty())
            std::abort();
        return 0;
    }
    if (profiles.size() > MAIL_MAX_PROFILES_PER_FILE)
        std::abort();
    for (const CMailClientProfile& profile : profiles) {
        if (profile.strName.empty() || profile.strHostPath.empty() || profile.strHostPath.front() != '/')
            std::abort();
        for (char ch : profile.strName) {
            if (ch == '\\' || static_cast<unsigned char>(ch) < 0x20)
                std::abort();
        }
    }
    return 0;
}
