#include "platform/shell/FileOperation.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/FileOperationProgress.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageQueue.h"
#include "tests/platform/shell/ShellTreeFixture.h"

#include <fstream>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Names = std::set<std::string>;

class FileOperationTest : public ShellTreeTest {
protected:
    // Runs one operation; names are separated by "|" here.
    int Run(UINT wFunc, const std::string& strFrom, const char* pszTo, FILEOP_FLAGS fFlags)
    {
        std::string strList = strFrom;
        for (char& ch : strList)
            ch = ch == '|' ? '\0' : ch;
        strList += std::string(2, '\0');
        m_op = SHFILEOPSTRUCT {};
        m_op.wFunc = wFunc;
        m_op.pFrom = strList.c_str();
        m_op.pTo = pszTo;
        m_op.fFlags = fFlags;
        int nResult = SHFileOperation(&m_op);
        if (m_op.hNameMappings)
            m_mappings.reset(m_op.hNameMappings);
        return nResult;
    }

    Names Listing(const std::string& strRelative) const
    {
        Names names;
        for (const auto& entry : std::filesystem::directory_iterator(Host(strRelative)))
            names.insert(entry.path().filename().string());
        return names;
    }
    bool Exists(const std::string& strRelative) const { return std::filesystem::exists(Host(strRelative)); }
    std::string Read(const std::string& strRelative) const
    {
        std::ifstream file(Host(strRelative));
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    struct MappingsDeleter {
        void operator()(void* p) const { SHFreeNameMappings(p); }
    };

    CTestDriver m_driver;
    SHFILEOPSTRUCT m_op {};
    std::unique_ptr<void, MappingsDeleter> m_mappings;
};

constexpr FILEOP_FLAGS QUIET = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;

} // namespace

TEST_F(FileOperationTest, CopiesIntoFoldersAndUnderNewNames)
{
    for (const char* pszFile : { "fixed/src/a.txt", "fixed/src/b.doc", "fixed/src/.hidden", "fixed/src/sub/c.txt" })
        Write(pszFile, pszFile);
    MakeFolder("fixed/out");
    ASSERT_EQ(Run(FO_COPY, "P:\\src\\*.*", "P:\\out", QUIET), 0);
    EXPECT_EQ(Listing("fixed/out"), (Names { "a.txt", "b.doc", ".hidden", "sub" })) << "every name, dot-names too";
    EXPECT_EQ(Read("fixed/out/sub/c.txt"), "fixed/src/sub/c.txt");

    ASSERT_EQ(Run(FO_COPY, "P:\\src\\*", "P:\\files", QUIET | FOF_FILESONLY), 0);
    EXPECT_EQ(Listing("fixed/files"), (Names { "a.txt", "b.doc", ".hidden" })) << "several items make their folder";

    ASSERT_EQ(Run(FO_COPY, "P:\\src\\a.txt", "Q:\\new\\renamed.txt", QUIET), 0);
    EXPECT_EQ(Read("usb/new/renamed.txt"), "fixed/src/a.txt") << "one item to a missing name takes that name";
    EXPECT_EQ(Run(FO_COPY, "P:\\src\\nothing*.x", "P:\\out", QUIET), 0) << "a wildcard matching nothing succeeds";
    EXPECT_EQ(Run(FO_COPY, "P:\\missing\\*.*", "P:\\out", FOF_SILENT | FOF_NOCONFIRMATION), ERROR_PATH_NOT_FOUND)
        << "a missing folder fails without a message box";
    EXPECT_EQ(Run(FO_COPY, "P:\\src\\missing.txt", "P:\\out", QUIET), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileOperationTest, CopyKeepsTimesAndTheReadOnlyState)
{
    std::string strSource = Write("fixed/old.txt", "old");
    struct timespec times[2] = { { 1000000000, 0 }, { 1000000000, 0 } };
    ASSERT_EQ(utimensat(AT_FDCWD, strSource.c_str(), times, 0), 0);
    chmod(strSource.c_str(), 0444);
    ASSERT_EQ(Run(FO_COPY, "P:\\old.txt", "P:\\copy.txt", QUIET), 0);
    struct stat info { };
    ASSERT_EQ(stat(Host("fixed/copy.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    // A read-only target is never replaced, not even without confirmation.
    Write("fixed/new.txt", "new");
    EXPECT_EQ(Run(FO_COPY, "P:\\new.txt", "P:\\copy.txt", QUIET), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Read("fixed/copy.txt"), "old");
}

TEST_F(FileOperationTest, ExistingTargetsAreAskedAbout)
{
    Write("fixed/a.txt", "new a");
    Write("fixed/b.txt", "new b");
    Write("fixed/c.txt", "new c");
    for (const char* pszName : { "a.txt", "b.txt", "c.txt" })
        Write(std::string("fixed/out/") + pszName, "old");
    m_driver.AnswerNextMessageBox(IDYES);
    m_driver.AnswerNextMessageBox(IDNO);
    m_driver.AnswerNextMessageBox(IDCANCEL);
    EXPECT_EQ(Run(FO_COPY, "P:\\a.txt|P:\\b.txt|P:\\c.txt", "P:\\out", FOF_SILENT), ERROR_CANCELLED);
    EXPECT_TRUE(m_op.fAnyOperationsAborted);
    EXPECT_EQ(Read("fixed/out/a.txt"), "new a") << "Yes replaces";
    EXPECT_EQ(Read("fixed/out/b.txt"), "old") << "No skips";
    EXPECT_EQ(Read("fixed/out/c.txt"), "old") << "Cancel stops";

    ASSERT_EQ(Run(FO_MOVE, "P:\\c.txt", "P:\\out", FOF_SILENT | FOF_NOCONFIRMATION), 0);
    EXPECT_EQ(Read("fixed/out/c.txt"), "new c");
    EXPECT_FALSE(Exists("fixed/c.txt"));
}

TEST_F(FileOperationTest, CopyOntoItselfIsRecordedAsAMapping)
{
    Write("fixed/docs/plan.txt", "plan");
    ASSERT_EQ(Run(FO_COPY, "P:\\docs\\plan.txt", "P:\\docs", QUIET | FOF_WANTMAPPINGHANDLE), 0);
    ASSERT_EQ(Run(FO_COPY, "P:\\docs\\plan.txt", "P:\\docs", QUIET | FOF_WANTMAPPINGHANDLE), 0);
    EXPECT_EQ(Listing("fixed/docs"), (Names { "plan.txt", "Copy of plan.txt", "Copy (2) of plan.txt" }));
    ASSERT_NE(m_op.hNameMappings, nullptr);
    auto* pHeader = static_cast<SHNAMEMAPPINGHEADER*>(m_op.hNameMappings);
    ASSERT_EQ(pHeader->cNumOfMappings, 1u);
    const SHNAMEMAPPINGW& mapping = pHeader->lpNM[0];
    EXPECT_EQ(Utf8FromUtf16(std::u16string_view(mapping.pszOldPath, mapping.cchOldPath)), "P:\\docs\\plan.txt");
    EXPECT_EQ(
        Utf8FromUtf16(std::u16string_view(mapping.pszNewPath, mapping.cchNewPath)), "P:\\docs\\Copy (2) of plan.txt");

    // Nothing renamed: no handle, so a caller reading the first entry reads nothing.
    ASSERT_EQ(Run(FO_COPY, "P:\\docs\\plan.txt", "P:\\other", QUIET | FOF_WANTMAPPINGHANDLE), 0);
    EXPECT_EQ(m_op.hNameMappings, nullptr);
    SHFreeNameMappings(nullptr);
}

TEST_F(FileOperationTest, AFailedCopyLeavesNoPartialTarget)
{
    Write("fixed/src/a.txt");
    Write("fixed/src/z.txt");
    ASSERT_EQ(mkfifo(Host("fixed/src/pipe").c_str(), 0600), 0); // no copy can be made of a pipe
    EXPECT_EQ(Run(FO_COPY, "P:\\src", "P:\\out", QUIET), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Exists("fixed/out"));
    EXPECT_EQ(Listing("fixed"), (Names { "src" })) << "no temporary copy is left either";

    // A file where a folder must be stops the operation there.
    Write("fixed/blocker", "a file");
    EXPECT_NE(Run(FO_COPY, "P:\\src\\a.txt", "P:\\blocker\\a.txt", QUIET), 0);
    EXPECT_EQ(Read("fixed/blocker"), "a file");
}

TEST_F(FileOperationTest, CancelStopsAfterTheCurrentChunkAndLeavesNoPartialTarget)
{
    std::string strBig = Write("fixed/big.bin");
    ASSERT_EQ(truncate(strBig.c_str(), 3 * 16 * 1024 * 1024), 0);
    DWORD dwOldDelay = SetFileOperationProgressDelay(0);
    static int s_nShown = 0;
    s_nShown = 0;
    FileOperationProgressHook pfnOld = SetFileOperationProgressHook([](HWND hProgress) {
        ++s_nShown;
        PostMessage(hProgress, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(FO_COPY, "P:\\big.bin", "P:\\copy.bin", FOF_NOCONFIRMATION), ERROR_CANCELLED);
    SetFileOperationProgressHook(pfnOld);
    SetFileOperationProgressDelay(dwOldDelay);
    EXPECT_GE(s_nShown, 1) << "the progress window showed";
    EXPECT_TRUE(m_op.fAnyOperationsAborted);
    EXPECT_EQ(Listing("fixed"), (Names { "big.bin" }));
}

TEST_F(FileOperationTest, RefusedFunctionsAndFlags)
{
    Write("fixed/a.txt");
    for (FILEOP_FLAGS fFlags : { FOF_MULTIDESTFILES, FOF_CONFIRMMOUSE, FOF_RENAMEONCOLLISION })
        EXPECT_EQ(Run(FO_COPY, "P:\\a.txt", "P:\\b.txt", QUIET | fFlags), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Run(FO_RENAME, "P:\\a.txt", "P:\\b.txt", QUIET), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(
        Run(FO_COPY, "P:\\a.txt", "P:\\b.txt", QUIET | FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS | FOF_NOCONFIRMMKDIR), 0);
    EXPECT_EQ(SHFileOperation(nullptr), static_cast<int>(ERROR_INVALID_PARAMETER));
}

TEST_F(FileOperationTest, DeletingAsksOnceAndEmptiesWildcardFolders)
{
    Write("fixed/docs/a.txt");
    Write("fixed/docs/.b");
    Write("fixed/docs/sub/c.txt");
    m_driver.AnswerNextMessageBox(IDNO);
    EXPECT_EQ(Run(FO_DELETE, "P:\\docs\\*.*", nullptr, FOF_SILENT), ERROR_CANCELLED);
    EXPECT_TRUE(m_op.fAnyOperationsAborted);
    EXPECT_EQ(Listing("fixed/docs").size(), 3u);
    m_driver.AnswerNextMessageBox(IDYES);
    EXPECT_EQ(Run(FO_DELETE, "P:\\docs\\*.*", nullptr, FOF_SILENT), 0);
    EXPECT_TRUE(Exists("fixed/docs")) << "the folder stays";
    EXPECT_EQ(Listing("fixed/docs"), Names {});
    EXPECT_EQ(Run(FO_DELETE, "P:\\gone\\*.*", nullptr, 0x14), ERROR_PATH_NOT_FOUND) << "silently";
}

TEST_F(FileOperationTest, ErrorsShowAMessageBoxUnlessAskedNotTo)
{
    CString strCaption;
    m_driver.OnNextDialog([&](HWND hDlg) {
        strCaption = CTestDriver::Text(hDlg);
        EndDialog(hDlg, IDOK);
    });
    EXPECT_EQ(Run(FO_DELETE, "P:\\missing.txt", nullptr, FOF_SILENT | FOF_NOCONFIRMATION), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(strCaption, "Error");
    strCaption.Empty();
    EXPECT_EQ(Run(FO_DELETE, "P:\\missing.txt", nullptr, QUIET), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(strCaption.IsEmpty()) << "no message box with FOF_NOERRORUI";
}
