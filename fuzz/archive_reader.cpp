// Links: platform_base
// Loads values, strings and objects from arbitrary bytes through CArchive. Each
// step's kind comes from the input, so the fuzzer reaches every reader. Every
// failure must be a thrown CException, and every object made is freed.

#include "platform/base/CArchive.h"
#include "platform/base/CArchiveException.h"
#include "platform/base/CMemFile.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

namespace {

class CFuzzNode : public CObject {
    DECLARE_SERIAL(CFuzzNode)

public:
    CFuzzNode() { Live().insert(this); }
    ~CFuzzNode() override { Live().erase(this); }

    static std::set<CFuzzNode*>& Live()
    {
        static std::set<CFuzzNode*> s_live;
        return s_live;
    }

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            return;
        ar >> m_nValue >> m_strName >> m_pChild >> m_pOther;
    }

    int m_nValue { 0 };
    CString m_strName;
    CFuzzNode* m_pChild { nullptr };
    CObject* m_pOther { nullptr };
};

IMPLEMENT_SERIAL(CFuzzNode, CObject, VERSIONABLE_SCHEMA | 1)

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    std::vector<BYTE> bytes(pData, pData + nSize);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    {
        CArchive ar(&file, CArchive::load);
        try {
            for (int nStep = 0; nStep < 64; ++nStep) {
                BYTE byKind = 0;
                ar >> byKind;
                CString str;
                char szLine[32];
                double d = 0;
                switch (byKind % 5) {
                case 0:
                    ar >> str;
                    break;
                case 1:
                    ar.ReadObject(nullptr);
                    break;
                case 2:
                    ar.ReadObject(RUNTIME_CLASS(CFuzzNode));
                    break;
                case 3:
                    ar.ReadString(szLine, sizeof(szLine) - 1);
                    break;
                default:
                    ar >> d;
                    break;
                }
            }
        } catch (CException* pException) {
            pException->Delete();
        }
        ar.Abort();
    }
    while (!CFuzzNode::Live().empty())
        delete *CFuzzNode::Live().begin();
    return 0;
}
