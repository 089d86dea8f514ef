#include "ui/NodePath.h"

#include "store/CNodeRec.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/ResourceModule.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/ImageLists.h"
#include "platform/gdi/Text.h"
#include "platform/shell/ShellFileInfo.h"
#include "resources/ResourceIds.h"

#include <memory>
#include <vector>

namespace {

// The images of bitmap IDB_NODE_PATH, 14 pixels square, magenta transparent.
constexpr int NODE_IMAGE_SIZE = 14;
constexpr COLORREF NODE_IMAGE_MASK = RGB(255, 0, 255);
// A fixed node shows the image of its block number (0 the root to 4); then:
constexpr int NODE_IMAGE_SYSTEM = 5; // a system at the top level, below the root
constexpr int NODE_IMAGE_GROUP = 6;  // a group at any deeper level

// The pictures of one drawing: the node images of the resource module when it
// has them, else the shell's icon of catalog items for every node.
class CNodePictures {
public:
    CNodePictures()
    {
        m_himl = ImageList_LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(IDB_NODE_PATH), NODE_IMAGE_SIZE, 1,
            NODE_IMAGE_MASK, IMAGE_BITMAP, 0);
        if (!m_himl) {
            SHFILEINFO info {};
            SHGetFileInfo("archivora.kdcat", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
            m_hIcon = info.hIcon;
        }
    }
    ~CNodePictures()
    {
        if (m_himl)
            ImageList_Destroy(m_himl);
        if (m_hIcon)
            DestroyIcon(m_hIcon);
    }
    CNodePictures(const CNodePictures&) = delete;
    CNodePictures& operator=(const CNodePictures&) = delete;

    // Draws image nImage in the picture cell whose top left corner is (x, y).
    void Draw(HDC hdc, int x, int y, int nImage) const
    {
        if (m_himl) {
            if (nImage >= ImageList_GetImageCount(m_himl))
                nImage = NODE_IMAGE_GROUP;
            int nInset = (NODE_PATH_ICON_SIZE - NODE_IMAGE_SIZE) / 2;
            ImageList_Draw(m_himl, nImage, hdc, x + nInset, y + nInset, ILD_TRANSPARENT);
        } else if (m_hIcon) {
            DrawIconEx(hdc, x, y, m_hIcon, NODE_PATH_ICON_SIZE, NODE_PATH_ICON_SIZE, 0, nullptr, DI_NORMAL);
        }
    }

private:
    HIMAGELIST m_himl { nullptr };
    HICON m_hIcon { nullptr };
};

// The node's ancestors from the root down, then the node; empty when the node
// cannot be read.
CNodeRecArray PathChain(const CNodeRec* pNode)
{
    CNodeRecArray chain;
    if (!pNode || !pNode->IsValid())
        return chain;
    chain = pNode->GetAncestors();
    chain.emplace_back(pNode->Clone());
    if (!chain.back())
        chain.clear();
    return chain;
}

// The image of the node at chain[i], where chain runs from the root down.
int NodeImage(const CNodeRecArray& chain, size_t i)
{
    const CNodeRec& node = *chain[i];
    if (node.IsFixedNode())
        return static_cast<int>(node.GetBlock());
    return i > 0 && CNodeRec::IsRootRef(chain[i - 1]->GetRef()) ? NODE_IMAGE_SYSTEM : NODE_IMAGE_GROUP;
}

} // namespace

void DrawNodePath(const CNodeRec* pNode, HDC hdc, RECT* pRect)
{
    if (!pRect)
        return;
    int x = pRect->left;
    CNodeRecArray chain = hdc ? PathChain(pNode) : CNodeRecArray {};
    if (!chain.empty()) {
        CNodePictures pictures;
        int nSaved = SaveDC(hdc);
        IntersectClipRect(hdc, pRect->left, pRect->top, pRect->right, pRect->bottom);
        SetBkMode(hdc, TRANSPARENT);
        int yIcon = pRect->top + (pRect->bottom - pRect->top - NODE_PATH_ICON_SIZE) / 2;
        for (size_t i = 0; i < chain.size(); ++i) {
            const CNodeRec& node = *chain[i];
            if (CNodeRec::IsRootRef(node.GetRef()))
                continue;
            if (x > pRect->left)
                x += NODE_PATH_NODE_GAP;
            pictures.Draw(hdc, x, yIcon, NodeImage(chain, i));
            x += NODE_PATH_ICON_SIZE + NODE_PATH_ICON_GAP;

            CString strName = node.GetName();
            SIZE size {};
            GetTextExtentPoint32(hdc, strName, strName.GetLength(), &size);
            RECT rcText { x, pRect->top, x + size.cx, pRect->bottom };
            DrawText(hdc, strName, strName.GetLength(), &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
            x += size.cx;
        }
        RestoreDC(hdc, nSaved);
    }
    pRect->right = x;
}
