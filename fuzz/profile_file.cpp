// Links: platform_base
// Parses arbitrary bytes as a profile (.ini) file: the text must format back
// unchanged, and an edit must give text that parses to the same edit again.

#include "platform/base/ProfileFile.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    CProfileDocument document(text);
    if (document.Format() != text)
        std::abort();
    for (const std::string& strSection : document.GetSectionNames()) {
        std::vector<std::string> keys;
        document.GetKeyNames(strSection, keys);
        for (const std::string& strKey : keys) {
            if (!document.FindValue(strSection, strKey))
                std::abort();
        }
    }
    document.SetValue("Fuzz", "Key", "value");
    document.DeleteKey("General", "Name");
    CProfileDocument again(document.Format());
    const std::string* pValue = again.FindValue("fuzz", "key");
    if (!pValue || *pValue != "value" || again.Format() != document.Format())
        std::abort();
    return 0;
}
