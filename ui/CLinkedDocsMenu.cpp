#include "ui/CLinkedDocsMenu.h"

#include "platform/window/Menu.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"

namespace {

constexpr int IMAGE_WIDTH = 18;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);

} // namespace

CLinkedDocsMenu::CLinkedDocsMenu()
{
    m_images.Create(IDB_SYSTEM_IMAGES, IMAGE_WIDTH, 0, IMAGE_MASK);
    SetImageList(&m_images);
}

BOOL CLinkedDocsMenu::Build(const CDocumentRec& document)
{
    if (GetItemCount() > 0)
        Reset();
    const CNodeRecArray nodes = document.GetLinkedNodes();
    UINT nID = ID_LINKED_SYSTEM_FIRST;
    for (const auto& pNode : nodes) {
        if (nID > ID_LINKED_SYSTEM_LAST)
            break;
        // A number beyond the pictures (a damaged record) shows none.
        const LONG nKind = pNode->GetKind();
        const int nImage = nKind >= 0 && nKind < m_images.GetImageCount() ? static_cast<int>(nKind) : -1;
        AppendItem(MF_OWNERDRAW, nID++, pNode->GetName(), nImage);
    }
    return GetItemCount() > 0;
}
