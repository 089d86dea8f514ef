// Links: ui platform_testing
// Puts arbitrary bytes on the clipboard as the catalog payload format's data,
// as another program could, and pastes them over a small catalog: the paste
// must refuse what it cannot read, answering its message box, and keep only
// records the catalog holds.

#include "fuzz/FontSystemLeaks.h"
#include "fuzz/MailFuzzFiles.h"
#include "platform/base/GlobalMemory.h"
#include "platform/controls/StandardControls.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Clipboard.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "ui/CKadDragObjReg.h"
#include "ui/CUiHostServices.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// A catalog of the root, the fixed nodes and one document, as the host's main catalog.
class CClipboardFuzzHost : public CUiHostServices {
public:
    CClipboardFuzzHost()
    {
        const std::string strPath = m_folder.Write("archiv.cat", nullptr, 0);
        if (!m_folder.IsReady() || !CCatalog::CreateFile(FALSE, strPath.c_str(), BLOCK_SIZE))
            std::abort();
        m_pCatalog = std::make_unique<CCatalog>(strPath.c_str(), 0);
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
        delete m_pCatalog->FindOrAddPath(pRoot.get(), "c:\\work\\a.txt");
        RegisterStandardControls();
        thePreferences.m_nClipboardFormat = RegisterClipboardFormat(CPreferences::CLIPBOARD_FORMAT_NAME);
        InstallUiHostServices(this);
    }
    CCatalog* GetMainCatalog() override { return m_pCatalog.get(); }

private:
    CMailFuzzFolder m_folder;
    std::unique_ptr<CCatalog> m_pCatalog;
};

void PutOnClipboard(const std::uint8_t* pData, std::size_t nSize)
{
    HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, nSize ? nSize : 1);
    if (!hData || !OpenClipboard(nullptr))
        std::abort();
    std::copy_n(pData, nSize, static_cast<std::uint8_t*>(GlobalLock(hData)));
    GlobalUnlock(hData);
    EmptyClipboard();
    SetClipboardData(thePreferences.m_nClipboardFormat, hData);
    CloseClipboard();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static CClipboardFuzzHost host;
    PutOnClipboard(pData, nSize);
    CTestDriver driver; // answers the one message box a refusal shows
    driver.AnswerNextMessageBox(IDOK);
    CKadDragObjReg payload;
    const int nOperation = payload.PasteFromClipboard();
    if ((nOperation == 0) != (payload.GetItemCount() == 0))
        std::abort(); // a refused paste kept items, or an accepted one has none
    CCatalog* pCatalog = host.GetMainCatalog();
    for (int i = 0; i < payload.GetItemCount(); ++i) {
        const CRecordRef ref = payload.GetItem(i).pRecord->GetRef();
        if (!pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_NODE)
            && !pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_DOCUMENT))
            std::abort(); // a pasted item that names no record
    }
    return 0;
}
