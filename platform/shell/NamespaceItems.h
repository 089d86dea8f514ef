#pragma once

// What the items of the shell namespace are on the host: the model under the
// shell folders (ShellFolder.h). Every function takes an absolute run of
// items (from the desktop), already checked.

#include "platform/shell/ShellFolder.h"

#include <span>
#include <string>
#include <vector>

using CItemPath = std::vector<CShellItem>;

// An absolute run of items read in place: a folder's items, then the items of
// a list below it, so that asking about a child copies neither. Both runs must
// outlive the view.
class CItemRun {
public:
    CItemRun(const CItemPath& items)
        : m_head(items)
    {
    }
    CItemRun(const CItemPath& folder, const CItemPath& below)
        : m_head(folder)
        , m_tail(below)
    {
    }

    size_t size() const { return m_head.size() + m_tail.size(); }
    bool empty() const { return m_head.empty() && m_tail.empty(); }
    const CShellItem& operator[](size_t i) const { return i < m_head.size() ? m_head[i] : m_tail[i - m_head.size()]; }
    const CShellItem& back() const { return m_tail.empty() ? m_head.back() : m_tail.back(); }

private:
    std::span<const CShellItem> m_head;
    std::span<const CShellItem> m_tail;
};

// The user's desktop folder when its items stand under the desktop: it
// exists and is not the home folder; else empty.
std::string DesktopFolderHostPath();

/* Paths. */

// The program path of a file-system or recycled item ("C:\a\b", "\\srv\docs\a",
// "C:\RECYCLED\dc13.txt"); empty for the desktop and virtual folders, and for
// a desktop item when no drive holds the desktop folder.
std::string ProgramPathOfItems(const CItemRun& items);
// The host path of a file-system or recycled item; false for the others.
bool HostPathOfItems(const CItemRun& items, std::string& strHostPath);
// The drive type (DRIVE_*) of the drive or share that holds an item; DRIVE_UNKNOWN for virtual ones.
UINT DriveTypeOfItems(const CItemRun& items);

/* Names. */

// The absolute items a name stands for: a program path (drive, UNC, a bin
// location "C:\RECYCLED\dc13.txt"), "::{GUID}" of a virtual folder, or, with
// bRelativeToDesktop, a name within the desktop folder. Folders and files are
// told apart on the host and spelt as the host spells them.
// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when the item does not exist.
HRESULT ItemsOfName(const std::string& strName, bool bRelativeToDesktop, CItemPath& items);

// The display name of an item by SHGDN_* flags.
std::string DisplayNameOfItems(const CItemRun& items, SHGDNF uFlags);

/* Attributes and contents. */

// The SFGAO_* attributes of an item, of those in sfgaoAsked.
SFGAOF AttributesOfItems(const CItemRun& items, SFGAOF sfgaoAsked);

// The items of a folder (single items, to be put after `folder`), SHCONTF_*
// choosing which; E_INVALIDARG for an item that is no folder,
// HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) for one that cannot be read.
HRESULT ChildrenOfItems(const CItemPath& folder, SHCONTF grfFlags, std::vector<CShellItem>& children);
