// Links: platform_base
// Feeds arbitrary bytes to the resource module reader and, for each resource it
// accepts, to the reader of that resource's template. The raw input also goes
// to every template reader directly, so templates are fuzzed on their own.

#include "platform/base/ResourceFormat.h"

#include <cstddef>
#include <cstdint>

namespace {

void ReadTemplates(std::span<const BYTE> data)
{
    std::string strError;
    std::vector<std::string_view> strings;
    DialogTemplate dialog;
    std::vector<MenuItemTemplate> menu;
    std::vector<ACCEL> accels;
    ToolbarTemplate toolbar;
    AnimationClipTemplate clip;
    std::vector<DialogInitEntry> initData;
    (void)ReadStringBlock(data, strings, strError); // only crashes matter here, not the verdict
    (void)ReadDialogTemplate(data, dialog, strError);
    (void)ReadMenuTemplate(data, menu, strError);
    (void)ReadAcceleratorTable(data, accels, strError);
    (void)ReadToolbarTemplate(data, toolbar, strError);
    (void)ReadAnimationClip(data, clip, strError);
    (void)ReadDialogInit(data, initData, strError);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    std::span<const BYTE> input(pData, nSize);
    ReadTemplates(input);
    std::vector<ResourceEntry> entries;
    std::string strError;
    if (ReadResourceModule(input, entries, strError)) {
        for (const ResourceEntry& entry : entries)
            ReadTemplates(input.subspan(entry.nOffset, entry.nSize));
    }
    return 0;
}
