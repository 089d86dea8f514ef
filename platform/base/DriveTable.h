#pragma once

// The drive table: which host folder each drive letter stands for, and which
// mounted shares UNC names (\\server\share\...) reach. It is built from the
// host's mount table:
//
// - C: is the host root "/".
// - Further letters, from D: on, go to file systems that are outside the
//   system's own tree: network file systems, CD-ROMs and removable media
//   wherever they are mounted, and any other real file system mounted under
//   /mnt. Partitions that make up the system tree (/home, /boot, /var, ...)
//   stay under C:, so "/home/ana" is "C:\home\ana". Letters are given in the
//   byte order of the mount points, so a mount table always gives the same
//   map; a local file system bound on several folders gets one letter, for the
//   first of them.
// - Pseudo and system file systems (proc, sysfs, devtmpfs, devpts, cgroup,
//   run-time tmpfs mounts under /run, /dev, /sys and /proc, overlay layers other
//   than the root, squashfs images, ...) belong to no drive, and their mount
//   points are left out of folder listings. Other tmpfs and ramfs mounts (such
//   as /tmp) get no letter either; they stay reachable and listed under C:.
// - Network file systems (nfs, nfs4, cifs, smb3, smbfs, fuse.sshfs, 9p,
//   virtiofs, ceph, glusterfs, afs, davfs) are DRIVE_REMOTE; 9p and virtiofs
//   count as network shares because they carry folders of another machine (the
//   virtual machine's host). iso9660 and udf are DRIVE_CDROM. A mount under
//   /media or /run/media, or on a device whose sysfs "removable" flag is set,
//   is DRIVE_REMOVABLE. The rest is DRIVE_FIXED. DRIVE_RAMDISK is only ever
//   set by an override.
// - UNC names: a cifs mount of "//server/share" (or "//server/share/sub")
//   answers "\\server\share" (or "\\server\share\sub"); an nfs or sshfs mount of
//   "server:/export/path" answers "\\server\path" (its last component).
//
// Overrides set letters explicitly (letter -> host folder and type) on top of
// what the mount table gives; they survive rebuilds of the table.
//
// Remembered network letters stand for a share ("\\server\share") whether it
// is mounted or not: while a mount gives the share, the letter is a network
// drive on that mount; while none does, the letter has no drive (its type is
// DRIVE_NO_ROOT_DIR) but the table still knows it as remembered. They too
// survive rebuilds, which look for the shares again.

#include "platform/base/WinTypes.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Drive types, as GetDriveType reports them.
// clang-format off
constexpr UINT DRIVE_UNKNOWN     = 0; // The type cannot be determined
constexpr UINT DRIVE_NO_ROOT_DIR = 1; // No drive or share at that root
constexpr UINT DRIVE_REMOVABLE   = 2;
constexpr UINT DRIVE_FIXED       = 3;
constexpr UINT DRIVE_REMOTE      = 4; // Network drive
constexpr UINT DRIVE_CDROM       = 5;
constexpr UINT DRIVE_RAMDISK     = 6;
// clang-format on

// One line of the mount table (/proc/self/mountinfo), with escapes decoded.
struct CMountEntry {
    std::string strMountPoint; // Host folder it is mounted on
    std::string strRoot;       // Folder of the file system seen there ("/" unless bound from a subfolder)
    std::string strFsType;     // "ext4", "nfs4", "fuse.sshfs", ...
    std::string strSource;     // "/dev/sdb1", "//server/share", "server:/export", ...
    unsigned nMajor { 0 };     // Device number of the file system
    unsigned nMinor { 0 };
};

// Parses mount table text. Malformed lines are skipped, so damaged input gives
// fewer mounts, never an error or a crash.
std::vector<CMountEntry> ParseMountInfo(std::string_view strText);

// One drive letter.
struct CDrive {
    std::string strHostFolder; // Absolute host folder, no trailing slash except "/"
    UINT uType { DRIVE_FIXED };
    std::string strFsType; // From the mount holding the folder; empty when unknown
};

// One share that UNC names reach.
struct CShare {
    std::string strServer;
    std::vector<std::string> shareComponents; // The share name, then any subfolders the mount starts at
    std::string strHostFolder;
};

class CDriveTable {
public:
    // Tells whether the device of a mount is removable media.
    using RemovableProbe = std::function<bool(const CMountEntry&)>;

    // The table the mounts give, before overrides. `fnIsRemovable` may be empty.
    static CDriveTable FromMounts(std::vector<CMountEntry> mounts, const RemovableProbe& fnIsRemovable);

    // The drive of a letter (either case), or nullptr when the letter has none.
    const CDrive* GetDrive(TCHAR chLetter) const;
    // Sets or (with nullopt) removes a letter.
    void SetDrive(TCHAR chLetter, std::optional<CDrive> drive);
    // Bit 0 for A:, bit 2 for C:, ...
    DWORD GetDriveMask() const;

    // The share that the UNC components (server, share, folders...) fall in,
    // matched case-insensitively, the deepest share first; nullptr when none.
    // `pnUsed` receives how many components the share accounts for.
    const CShare* FindShare(const std::vector<std::string>& uncComponents, size_t* pnUsed) const;
    const std::vector<CShare>& GetShares() const { return m_shares; }

    // The share a remembered network letter stands for ("\\server\share"),
    // mounted or not; nullptr for a letter that is not remembered.
    const std::string* GetRemembered(TCHAR chLetter) const;
    void SetRemembered(TCHAR chLetter, std::optional<std::string> strRemote);

    // The UNC name of the share a network drive's folder is ("\\server\share"),
    // from the shares the mount table gives; empty for none.
    std::string ShareNameOf(const std::string& strHostFolder) const;

    // Whether a host path is the host folder of a drive letter other than the
    // host's root: listed inside another drive's folder, it is that drive's root.
    bool IsDriveRoot(std::string_view strHostPath) const;
    // Whether a host path is the mount point of a pseudo or system file system.
    bool IsHiddenMountPoint(std::string_view strHostPath) const;
    // Whether a file system (a device's, or a folder bound from elsewhere) is
    // mounted on a host path.
    bool IsMountPoint(std::string_view strHostPath) const;

    // The file system type of the mount holding a host path; empty when unknown.
    std::string FileSystemTypeAt(std::string_view strHostPath) const;

    // The mount points of the local file systems that may hold a trash: "/"
    // and every mount that is neither a network nor a kernel file system
    // (tmpfs and ramfs count), in byte order, each once.
    std::vector<std::string> LocalMountPoints() const;

private:
    std::array<std::optional<CDrive>, 26> m_drives;
    std::array<std::optional<std::string>, 26> m_remembered;
    std::vector<CShare> m_shares;
    std::vector<std::string> m_hiddenMountPoints; // Sorted
    std::vector<std::string> m_mountPoints;       // Sorted
    std::vector<CMountEntry> m_mounts;
};

// The process's drive table: built from /proc/self/mountinfo on first use,
// with the overrides applied. The snapshot stays valid while held.
std::shared_ptr<const CDriveTable> GetDriveTable();

// Rebuilds the process's table from mount table text instead of the host's
// (tests), or from the host's again when `pszMountInfo` is nullptr. Overrides
// are kept. Removable devices are probed in sysfs only for the host's table.
void ReloadDriveTable(const char* pszMountInfo);

// Sets a letter to a host folder and drive type, or with `pszHostFolder`
// nullptr removes the letter, whatever the mount table says. This is the entry
// point for drive settings kept in the registry. FALSE with ERROR_INVALID_PARAMETER
// for a letter outside A..Z, a relative folder or a type outside
// DRIVE_REMOVABLE..DRIVE_RAMDISK.
BOOL SetDriveOverride(TCHAR chLetter, LPCTSTR pszHostFolder, UINT uDriveType);
// The same for the host folder that a program path (a share) reaches now;
// FALSE with ERROR_BAD_NETPATH when it reaches none.
BOOL SetDriveOverrideToPath(TCHAR chLetter, LPCTSTR pszFolder, UINT uDriveType);

// Remembers a network letter for a share ("\\server\share"), or with
// pszRemote nullptr forgets it (see above). FALSE with ERROR_INVALID_PARAMETER
// for a letter outside A..Z or a name that is no UNC share name.
BOOL SetRememberedDrive(TCHAR chLetter, LPCTSTR pszRemote);

// Rebuilds the table from its source as it is now (the host's mount table, or
// the text ReloadDriveTable was given), so shares mounted meanwhile count.
void RefreshDriveTable();

// Drops every override and remembered letter and rebuilds the table from the
// host's mount table.
void ResetDriveTable();
