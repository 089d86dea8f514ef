#include "platform/shell/RecycleBin.h"

#include "platform/base/PathNames.h"
#include "platform/base/TextFunctions.h"
#include "platform/shell/TrashInfo.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <tuple>

#include <dirent.h>
#include <sys/stat.h>

namespace {

// The names in a trash's files/, with whether each is a folder.
std::vector<std::pair<std::string, bool>> ListTrashFiles(const CTrashFolder& trash)
{
    std::vector<std::pair<std::string, bool>> names;
    std::string strFiles = trash.FilesFolder();
    for (std::string& strName : ListHostFolder(strFiles)) {
        struct stat info { };
        bool bFolder = lstat(JoinHostPath(strFiles, strName).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        names.emplace_back(std::move(strName), bFolder);
    }
    return names;
}

// The sort key of the bin's order.
struct COrderKey {
    bool bForeign;
    TCHAR chLetter;
    unsigned long long nNumber;
    std::string strName;

    bool operator<(const COrderKey& other) const
    {
        return std::tie(bForeign, chLetter, nNumber, strName)
            < std::tie(other.bForeign, other.chLetter, other.nNumber, other.strName);
    }
};

COrderKey OrderKeyOf(const CRecycledEntry& entry)
{
    TCHAR chLetter = 0;
    unsigned long long nNumber = 0;
    if (ParseRecycledName(entry.strName, &chLetter, &nNumber))
        return { false, chLetter, nNumber, entry.strName };
    return { true, 0, 0, entry.strName };
}

} // namespace

std::string CRecycledEntry::ProgramPath() const
{
    return std::string(1, chLetter) + ":\\" + RECYCLE_FOLDER_NAME + "\\" + strName;
}

std::vector<CRecycledEntry> ListRecycleBin()
{
    std::vector<CRecycledEntry> entries;
    for (const CTrashFolder& trash : ExistingTrashes()) {
        for (auto& [strName, bFolder] : ListTrashFiles(trash)) {
            TCHAR chLetter = RecycledItemLetter(trash, strName);
            if (chLetter)
                entries.push_back(CRecycledEntry { chLetter, std::move(strName), bFolder, trash });
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
        [](const CRecycledEntry& a, const CRecycledEntry& b) { return OrderKeyOf(a) < OrderKeyOf(b); });
    return entries;
}

std::optional<CRecycledEntry> FindRecycledEntry(TCHAR chLetter, const std::string& strName)
{
    chLetter = static_cast<TCHAR>(std::toupper(static_cast<unsigned char>(chLetter)));
    std::vector<CTrashFolder> trashes = TrashesOfDrive(chLetter);
    // The exact name first in every trash, then by case, as the path model looks names up.
    for (bool bExact : { true, false }) {
        for (const CTrashFolder& trash : trashes) {
            for (auto& [strFound, bFolder] : ListTrashFiles(trash)) {
                if (bExact ? strFound == strName : Utf8CompareNoCase(strFound, strName) == 0)
                    return CRecycledEntry { chLetter, strFound, bFolder, trash };
            }
        }
    }
    return std::nullopt;
}

std::string RecycledOriginalPath(const CRecycledEntry& entry)
{
    std::ifstream file(entry.InfoPath(), std::ios::binary);
    if (!file)
        return {};
    std::string strText;
    strText.resize(TRASH_INFO_MAX_SIZE + 1);
    file.read(strText.data(), static_cast<std::streamsize>(strText.size()));
    strText.resize(static_cast<size_t>(file.gcount()));
    CTrashInfo info;
    if (!ParseTrashInfo(strText, entry.trash.strTopDir, info))
        return {};
    return info.strPath;
}

unsigned long long HighestRecycledNumber(TCHAR chLetter)
{
    chLetter = static_cast<TCHAR>(std::toupper(static_cast<unsigned char>(chLetter)));
    unsigned long long nHighest = 0;
    for (const CTrashFolder& trash : ExistingTrashes()) {
        for (const std::string& strName : ListHostFolder(trash.FilesFolder())) {
            TCHAR chNameLetter = 0;
            unsigned long long nNumber = 0;
            // A number too large to count on (it saturated) is not one the bin gave.
            if (ParseRecycledName(strName, &chNameLetter, &nNumber) && chNameLetter == chLetter && nNumber != ~0ULL)
                nHighest = std::max(nHighest, nNumber);
        }
    }
    return nHighest;
}

void RemoveRecycledInfo(const CRecycledEntry& entry)
{
    std::remove(entry.InfoPath().c_str());
}
