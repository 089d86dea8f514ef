#include "ui/PopupImages.h"

#include "platform/base/ResourceModule.h"
#include "platform/framework/CImageList.h"

#include <map>
#include <memory>
#include <tuple>

CImageList* SharedPopupImages(UINT nBitmap, int cx, COLORREF crMask)
{
    using Key = std::tuple<HINSTANCE, UINT, int, COLORREF>;
    // Never freed: the image-list table they live in may end before them at exit.
    static auto* s_pLists = new std::map<Key, std::unique_ptr<CImageList>>;
    const Key key { AfxGetResourceHandle(), nBitmap, cx, crMask };
    auto found = s_pLists->find(key);
    if (found != s_pLists->end())
        return found->second.get();
    auto pImages = std::make_unique<CImageList>();
    if (!pImages->Create(nBitmap, cx, 1, crMask))
        return nullptr;
    return s_pLists->emplace(key, std::move(pImages)).first->second.get();
}
