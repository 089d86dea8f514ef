#include "platform/base/DriveTable.h"

#include "platform/base/DriveSettings.h"
#include "platform/base/PathMap.h"

#include "platform/base/PathNames.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>

namespace {

/******************************************************************************
 * Mount table text
 ******************************************************************************/

// Mount table fields escape space, tab, newline and backslash as \ooo.
std::string DecodeMountField(std::string_view strField)
{
    std::string strDecoded;
    for (size_t i = 0; i < strField.size(); ++i) {
        if (strField[i] == '\\' && i + 3 < strField.size()) {
            int nValue = 0;
            bool bOctal = true;
            for (size_t j = 1; j <= 3; ++j) {
                char ch = strField[i + j];
                bOctal = bOctal && ch >= '0' && ch <= '7';
                nValue = nValue * 8 + (ch - '0');
            }
            if (bOctal && nValue < 256) {
                strDecoded += static_cast<char>(nValue);
                i += 3;
                continue;
            }
        }
        strDecoded += strField[i];
    }
    return strDecoded;
}

std::vector<std::string_view> SplitFields(std::string_view strLine)
{
    std::vector<std::string_view> fields;
    size_t nPos = 0;
    while (nPos < strLine.size()) {
        size_t nStart = strLine.find_first_not_of(" \t", nPos);
        if (nStart == std::string_view::npos)
            break;
        size_t nEnd = strLine.find_first_of(" \t", nStart);
        if (nEnd == std::string_view::npos)
            nEnd = strLine.size();
        fields.push_back(strLine.substr(nStart, nEnd - nStart));
        nPos = nEnd;
    }
    return fields;
}

bool ParseDeviceNumber(std::string_view strField, unsigned& nMajor, unsigned& nMinor)
{
    size_t nColon = strField.find(':');
    if (nColon == std::string_view::npos)
        return false;
    const char* pEnd = strField.data() + strField.size();
    auto [pMajorEnd, ecMajor] = std::from_chars(strField.data(), strField.data() + nColon, nMajor);
    auto [pMinorEnd, ecMinor] = std::from_chars(strField.data() + nColon + 1, pEnd, nMinor);
    return ecMajor == std::errc() && ecMinor == std::errc() && pMajorEnd == strField.data() + nColon
        && pMinorEnd == pEnd;
}

/******************************************************************************
 * Classification of mounts
 ******************************************************************************/

bool IsPseudoFileSystem(std::string_view strType)
{
    static const std::set<std::string_view> s_pseudo = { "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2",
        "securityfs", "debugfs", "tracefs", "pstore", "bpf", "mqueue", "hugetlbfs", "configfs", "fusectl",
        "binfmt_misc", "autofs", "efivarfs", "rpc_pipefs", "nsfs", "selinuxfs", "nfsd", "ramfs", "tmpfs", "overlay",
        "squashfs", "fuse.portal", "fuse.gvfsd-fuse", "fuse.lxcfs" };
    return s_pseudo.contains(strType);
}

bool IsNetworkFileSystem(std::string_view strType)
{
    static const std::set<std::string_view> s_network = { "nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "sshfs",
        "9p", "virtiofs", "ceph", "fuse.ceph", "glusterfs", "fuse.glusterfs", "afs", "davfs", "fuse.davfs" };
    return s_network.contains(strType);
}

bool IsCdRomFileSystem(std::string_view strType)
{
    return strType == "iso9660" || strType == "udf";
}

bool IsUnderRemovableMediaFolder(std::string_view strMountPoint)
{
    return (IsInHostFolder(strMountPoint, "/media") || IsInHostFolder(strMountPoint, "/run/media"))
        && strMountPoint != "/media" && strMountPoint != "/run/media";
}

// Whether a mount is left out of folder listings: pseudo file systems, and
// run-time tmpfs mounts of the system folders. Overlay at "/" is the root.
bool IsHiddenMount(const CMountEntry& mount)
{
    if (mount.strMountPoint == "/")
        return false;
    if (mount.strFsType == "tmpfs" || mount.strFsType == "ramfs") {
        for (std::string_view strSystem : { "/run", "/dev", "/sys", "/proc" }) {
            if (IsInHostFolder(mount.strMountPoint, strSystem))
                return true;
        }
        return false;
    }
    return IsPseudoFileSystem(mount.strFsType);
}

// The drive type a mount gets a letter as, or nullopt when it gets none.
std::optional<UINT> LetterTypeOf(const CMountEntry& mount, const CDriveTable::RemovableProbe& fnIsRemovable)
{
    if (mount.strMountPoint == "/" || IsPseudoFileSystem(mount.strFsType))
        return std::nullopt;
    if (IsNetworkFileSystem(mount.strFsType))
        return DRIVE_REMOTE;
    if (IsCdRomFileSystem(mount.strFsType))
        return DRIVE_CDROM;
    bool bRemovable = IsUnderRemovableMediaFolder(mount.strMountPoint) || (fnIsRemovable && fnIsRemovable(mount));
    if (bRemovable)
        return DRIVE_REMOVABLE;
    if (IsInHostFolder(mount.strMountPoint, "/mnt") && mount.strMountPoint != "/mnt")
        return DRIVE_FIXED;
    return std::nullopt;
}

// The share a network mount answers, if any.
std::optional<CShare> ShareOf(const CMountEntry& mount)
{
    if (!IsNetworkFileSystem(mount.strFsType))
        return std::nullopt;
    CShare share;
    share.strHostFolder = mount.strMountPoint;
    std::string_view strSource = mount.strSource;
    if (strSource.starts_with("//") || strSource.starts_with("\\\\")) {
        // cifs: //server/share[/sub...]
        std::string strRest(strSource.substr(2));
        std::replace(strRest.begin(), strRest.end(), '\\', '/');
        std::vector<std::string> components;
        std::stringstream stream(strRest);
        for (std::string strPart; std::getline(stream, strPart, '/');) {
            if (!strPart.empty())
                components.push_back(strPart);
        }
        if (components.size() < 2)
            return std::nullopt;
        share.strServer = components.front();
        share.shareComponents.assign(components.begin() + 1, components.end());
        return share;
    }
    // nfs and sshfs: [user@]server:/export/path, or [ipv6]:/export/path.
    size_t nColon = strSource.starts_with('[') ? strSource.find("]:") : strSource.find(':');
    if (nColon == std::string_view::npos || nColon == 0)
        return std::nullopt;
    std::string_view strServer = strSource.substr(0, nColon + (strSource.starts_with('[') ? 1 : 0));
    std::string_view strExport = strSource.substr(nColon + (strSource.starts_with('[') ? 2 : 1));
    if (size_t nAt = strServer.find('@'); nAt != std::string_view::npos)
        strServer = strServer.substr(nAt + 1);
    while (!strExport.empty() && strExport.back() == '/')
        strExport.remove_suffix(1);
    size_t nSlash = strExport.rfind('/');
    std::string_view strName = nSlash == std::string_view::npos ? strExport : strExport.substr(nSlash + 1);
    if (strServer.empty() || strName.empty())
        return std::nullopt;
    share.strServer = strServer;
    share.shareComponents.emplace_back(strName);
    return share;
}

// The sysfs "removable" flag of a block device, or of the disk a partition
// belongs to.
bool IsRemovableInSysfs(const CMountEntry& mount)
{
    if (mount.nMajor == 0)
        return false;
    std::string strDevice = "/sys/dev/block/" + std::to_string(mount.nMajor) + ":" + std::to_string(mount.nMinor);
    for (const char* pszFlag : { "/removable", "/../removable" }) {
        std::ifstream flag(strDevice + pszFlag);
        char ch = 0;
        if (flag.get(ch))
            return ch == '1';
    }
    return false;
}

/******************************************************************************
 * The process's table
 ******************************************************************************/

struct CProcessTable {
    std::mutex mutex;
    std::optional<std::string> strMountInfo;        // Set when loaded from given text
    std::map<int, std::optional<CDrive>> overrides; // Letter index -> drive, or nullopt for removed
    std::map<int, std::string> remembered;          // Letter index -> "\\server\share"
    std::shared_ptr<const CDriveTable> pTable;
};

CProcessTable& ProcessTable()
{
    static CProcessTable s_table;
    return s_table;
}

std::string ReadHostMountInfo()
{
    std::ifstream file("/proc/self/mountinfo");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// "\\server\share\sub" as {server, share, sub}; empty for a name that is no share name.
std::vector<std::string> SplitUncName(std::string_view strName)
{
    std::vector<std::string> parts;
    if (!strName.starts_with("\\\\"))
        return parts;
    strName.remove_prefix(2);
    while (!strName.empty()) {
        size_t nEnd = strName.find('\\');
        if (nEnd != 0)
            parts.emplace_back(strName.substr(0, nEnd));
        strName = nEnd == std::string_view::npos ? std::string_view() : strName.substr(nEnd + 1);
    }
    return parts.size() >= 2 ? parts : std::vector<std::string>();
}

// Builds the table from the current source and overrides; the mutex is held.
void RebuildLocked(CProcessTable& state)
{
    CDriveTable table = state.strMountInfo
        ? CDriveTable::FromMounts(ParseMountInfo(*state.strMountInfo), {})
        : CDriveTable::FromMounts(ParseMountInfo(ReadHostMountInfo()), IsRemovableInSysfs);
    for (const auto& [nIndex, drive] : state.overrides) {
        std::optional<CDrive> effective = drive;
        if (effective)
            effective->strFsType = table.FileSystemTypeAt(effective->strHostFolder);
        table.SetDrive(static_cast<TCHAR>('A' + nIndex), effective);
    }
    // A remembered letter maps to its share while a mount gives it, unless the letter is taken.
    for (const auto& [nIndex, strRemote] : state.remembered) {
        auto chLetter = static_cast<TCHAR>('A' + nIndex);
        table.SetRemembered(chLetter, strRemote);
        std::vector<std::string> unc = SplitUncName(strRemote);
        size_t nUsed = 0;
        const CShare* pShare = table.FindShare(unc, &nUsed);
        if (pShare && nUsed == unc.size() && !table.GetDrive(chLetter))
            table.SetDrive(chLetter,
                CDrive { pShare->strHostFolder, DRIVE_REMOTE, table.FileSystemTypeAt(pShare->strHostFolder) });
    }
    state.pTable = std::make_shared<const CDriveTable>(std::move(table));
}

int LetterIndex(TCHAR chLetter)
{
    if (chLetter >= 'a' && chLetter <= 'z')
        return chLetter - 'a';
    if (chLetter >= 'A' && chLetter <= 'Z')
        return chLetter - 'A';
    return -1;
}

}

std::vector<CMountEntry> ParseMountInfo(std::string_view strText)
{
    std::vector<CMountEntry> mounts;
    size_t nPos = 0;
    while (nPos < strText.size()) {
        size_t nEnd = strText.find('\n', nPos);
        if (nEnd == std::string_view::npos)
            nEnd = strText.size();
        std::vector<std::string_view> fields = SplitFields(strText.substr(nPos, nEnd - nPos));
        nPos = nEnd + 1;
        // id parent major:minor root mount-point options [optional...] - type source super-options
        auto itSeparator = std::find(fields.begin(), fields.end(), "-");
        if (fields.size() < 6 || itSeparator - fields.begin() < 6 || fields.end() - itSeparator < 3)
            continue;
        CMountEntry mount;
        if (!ParseDeviceNumber(fields[2], mount.nMajor, mount.nMinor))
            continue;
        mount.strRoot = DecodeMountField(fields[3]);
        std::string strMountPoint = DecodeMountField(fields[4]);
        if (strMountPoint.empty() || strMountPoint[0] != '/')
            continue;
        mount.strMountPoint = NormalHostPath(strMountPoint);
        mount.strFsType = DecodeMountField(itSeparator[1]);
        mount.strSource = DecodeMountField(itSeparator[2]);
        mounts.push_back(std::move(mount));
    }
    return mounts;
}

/******************************************************************************
 * CDriveTable
 ******************************************************************************/

CDriveTable CDriveTable::FromMounts(std::vector<CMountEntry> mounts, const RemovableProbe& fnIsRemovable)
{
    CDriveTable table;
    // A later mount on the same folder covers the earlier one.
    std::map<std::string, CMountEntry> visible;
    for (const CMountEntry& mount : mounts)
        visible[mount.strMountPoint] = mount;

    for (const auto& [strMountPoint, mount] : visible) {
        table.m_mountPoints.push_back(strMountPoint);
        if (IsHiddenMount(mount))
            table.m_hiddenMountPoints.push_back(strMountPoint);
    }
    auto isBelowHidden = [&](const std::string& strPath) {
        return std::any_of(table.m_hiddenMountPoints.begin(), table.m_hiddenMountPoints.end(),
            [&](const std::string& strHidden) { return IsInHostFolder(strPath, strHidden); });
    };

    table.m_drives['C' - 'A'] = CDrive { "/", DRIVE_FIXED, {} };
    int nNextLetter = 'D' - 'A';
    std::set<std::pair<std::pair<unsigned, unsigned>, std::string>> lettered; // Device and root seen
    for (const auto& [strMountPoint, mount] : visible) {                      // Byte order of mount points
        if (isBelowHidden(strMountPoint))
            continue;
        if (std::optional<CShare> share = ShareOf(mount))
            table.m_shares.push_back(std::move(*share));
        std::optional<UINT> uType = LetterTypeOf(mount, fnIsRemovable);
        if (!uType || nNextLetter >= 26)
            continue;
        // A local file system bound on several folders gets one letter.
        bool bLocal = *uType != DRIVE_REMOTE && mount.nMajor != 0;
        if (bLocal && !lettered.insert({ { mount.nMajor, mount.nMinor }, mount.strRoot }).second)
            continue;
        table.m_drives[nNextLetter++] = CDrive { strMountPoint, *uType, mount.strFsType };
    }
    table.m_mounts = std::move(mounts);
    table.m_drives['C' - 'A']->strFsType = table.FileSystemTypeAt("/");
    return table;
}

const CDrive* CDriveTable::GetDrive(TCHAR chLetter) const
{
    int nIndex = LetterIndex(chLetter);
    if (nIndex < 0 || !m_drives[nIndex])
        return nullptr;
    return &*m_drives[nIndex];
}

void CDriveTable::SetDrive(TCHAR chLetter, std::optional<CDrive> drive)
{
    int nIndex = LetterIndex(chLetter);
    if (nIndex >= 0)
        m_drives[nIndex] = std::move(drive);
}

DWORD CDriveTable::GetDriveMask() const
{
    DWORD dwMask = 0;
    for (size_t i = 0; i < m_drives.size(); ++i) {
        if (m_drives[i])
            dwMask |= DWORD { 1 } << i;
    }
    return dwMask;
}

const CShare* CDriveTable::FindShare(const std::vector<std::string>& uncComponents, size_t* pnUsed) const
{
    const CShare* pBest = nullptr;
    for (const CShare& share : m_shares) {
        size_t nUsed = 1 + share.shareComponents.size();
        if (uncComponents.size() < nUsed || Utf8CompareNoCase(uncComponents[0], share.strServer) != 0)
            continue;
        bool bMatch = true;
        for (size_t i = 0; bMatch && i < share.shareComponents.size(); ++i)
            bMatch = Utf8CompareNoCase(uncComponents[i + 1], share.shareComponents[i]) == 0;
        if (bMatch && (!pBest || share.shareComponents.size() > pBest->shareComponents.size()))
            pBest = &share;
    }
    if (pBest && pnUsed)
        *pnUsed = 1 + pBest->shareComponents.size();
    return pBest;
}

const std::string* CDriveTable::GetRemembered(TCHAR chLetter) const
{
    int nIndex = LetterIndex(chLetter);
    return nIndex >= 0 && m_remembered[nIndex] ? &*m_remembered[nIndex] : nullptr;
}

void CDriveTable::SetRemembered(TCHAR chLetter, std::optional<std::string> strRemote)
{
    int nIndex = LetterIndex(chLetter);
    if (nIndex >= 0)
        m_remembered[nIndex] = std::move(strRemote);
}

std::string CDriveTable::ShareNameOf(const std::string& strHostFolder) const
{
    for (const CShare& share : m_shares) {
        if (share.strHostFolder == strHostFolder) {
            std::string strName = "\\\\" + share.strServer;
            for (const std::string& strPart : share.shareComponents)
                strName += "\\" + strPart;
            return strName;
        }
    }
    return {};
}

bool CDriveTable::IsDriveRoot(std::string_view strHostPath) const
{
    if (strHostPath == "/")
        return false;
    return std::any_of(m_drives.begin(), m_drives.end(),
        [&](const std::optional<CDrive>& drive) { return drive && drive->strHostFolder == strHostPath; });
}

bool CDriveTable::IsHiddenMountPoint(std::string_view strHostPath) const
{
    return std::binary_search(m_hiddenMountPoints.begin(), m_hiddenMountPoints.end(), strHostPath);
}

bool CDriveTable::IsMountPoint(std::string_view strHostPath) const
{
    return std::binary_search(m_mountPoints.begin(), m_mountPoints.end(), strHostPath);
}

std::string CDriveTable::FileSystemTypeAt(std::string_view strHostPath) const
{
    const CMountEntry* pBest = nullptr;
    for (const CMountEntry& mount : m_mounts) {
        if (IsInHostFolder(strHostPath, mount.strMountPoint)
            && (!pBest || mount.strMountPoint.size() >= pBest->strMountPoint.size()))
            pBest = &mount;
    }
    return pBest ? pBest->strFsType : std::string();
}

std::vector<std::string> CDriveTable::LocalMountPoints() const
{
    std::set<std::string> points { "/" };
    for (const CMountEntry& mount : m_mounts) {
        bool bMemory = mount.strFsType == "tmpfs" || mount.strFsType == "ramfs";
        if (!IsNetworkFileSystem(mount.strFsType) && (bMemory || !IsPseudoFileSystem(mount.strFsType)))
            points.insert(mount.strMountPoint);
    }
    return { points.begin(), points.end() };
}

/******************************************************************************
 * The process's table
 ******************************************************************************/

std::shared_ptr<const CDriveTable> GetDriveTable()
{
    // Outside the table's lock: applying a setting takes it.
    static std::once_flag s_settingsApplied;
    std::call_once(s_settingsApplied, ApplyDriveSettingsFromRegistry);
    CProcessTable& state = ProcessTable();
    std::lock_guard lock(state.mutex);
    if (!state.pTable)
        RebuildLocked(state);
    return state.pTable;
}

void ReloadDriveTable(const char* pszMountInfo)
{
    CProcessTable& state = ProcessTable();
    std::lock_guard lock(state.mutex);
    state.strMountInfo = pszMountInfo ? std::optional<std::string>(pszMountInfo) : std::nullopt;
    RebuildLocked(state);
}

BOOL SetDriveOverride(TCHAR chLetter, LPCTSTR pszHostFolder, UINT uDriveType)
{
    int nIndex = LetterIndex(chLetter);
    if (nIndex < 0
        || (pszHostFolder && (pszHostFolder[0] != '/' || uDriveType < DRIVE_REMOVABLE || uDriveType > DRIVE_RAMDISK))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CProcessTable& state = ProcessTable();
    std::lock_guard lock(state.mutex);
    if (pszHostFolder)
        state.overrides[nIndex] = CDrive { NormalHostPath(pszHostFolder), uDriveType, {} };
    else
        state.overrides[nIndex] = std::nullopt;
    RebuildLocked(state);
    return TRUE;
}

BOOL SetDriveOverrideToPath(TCHAR chLetter, LPCTSTR pszFolder, UINT uDriveType)
{
    std::string strHostFolder;
    if (!pszFolder || !HostPathFromProgramPath(pszFolder, strHostFolder)) {
        SetLastError(ERROR_BAD_NETPATH);
        return FALSE;
    }
    return SetDriveOverride(chLetter, strHostFolder.c_str(), uDriveType);
}

BOOL SetRememberedDrive(TCHAR chLetter, LPCTSTR pszRemote)
{
    int nIndex = LetterIndex(chLetter);
    if (nIndex < 0 || (pszRemote && SplitUncName(pszRemote).empty())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CProcessTable& state = ProcessTable();
    std::lock_guard lock(state.mutex);
    if (pszRemote)
        state.remembered[nIndex] = pszRemote;
    else
        state.remembered.erase(nIndex);
    RebuildLocked(state);
    return TRUE;
}

void RefreshDriveTable()
{
    CProcessTable& state = ProcessTable();
    std::lock_guard lock(state.mutex);
    RebuildLocked(state);
}

void ResetDriveTable()
{
    CProcessTable& state = ProcessTable();
    std::lock_guard lock(state.mutex);
    state.overrides.clear();
    state.remembered.clear();
    state.strMountInfo.reset();
    RebuildLocked(state);
}
