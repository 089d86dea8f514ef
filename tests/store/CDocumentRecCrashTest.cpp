#include "store/CDocumentRec.h"

#include "store/CDirectoryRec.h"
#include "store/CatalogCheck.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int DOCUMENT_COUNT = 300;

// What add n asks for: on every other a name longer than its field (its
// rest goes to a location record), texts that fill their fields, and on
// every third an expiry date, which lists the document under the
// expiring-documents node.
CDocumentInfo InfoOf(int n)
{
    CDocumentInfo info {};
    std::snprintf(info.szName, sizeof(info.szName), "%s-%04d.txt", std::string(n % 2 ? 80 : 4, 'n').c_str(), n);
    std::snprintf(info.szDescription, sizeof(info.szDescription), "%04d %s", n, std::string(55, 'd').c_str());
    std::snprintf(info.szSecondary, sizeof(info.szSecondary), "%04d %s", n, std::string(55, 's').c_str());
    std::snprintf(info.szPassword, sizeof(info.szPassword), "pw%04d", n);
    std::snprintf(reinterpret_cast<char*>(info.id), sizeof(info.id), "copy%04d", n);
    info.nExpiry = n % 3 == 0 ? 1800000000 + n : 0;
    info.nVersion = n % 10;
    info.dwOpenAction = static_cast<DWORD>(n % 4);
    info.ftCatalogTime = { static_cast<DWORD>(n), 0x01DA0000 };
    return info;
}

std::string FolderOf(int n)
{
    return "c:\\crash\\" + std::to_string(n % 4) + "\\";
}

class CDocumentRecCrashTest : public CatalogTest {
protected:
    // Adds every document in a child process, which is killed after nDelayUs
    // microseconds.
    void AddKilledAfter(int nDelayUs)
    {
        pid_t pid = fork();
        ASSERT_NE(pid, -1);
        if (pid == 0) {
            auto pCatalog = OpenCatalog();
            for (int n = 0; n < DOCUMENT_COUNT; ++n) {
                CDocumentInfo info = InfoOf(n);
                delete pCatalog->FindOrAddDocument(FolderOf(n).c_str(), info.szName, &info);
            }
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(nDelayUs));
        kill(pid, SIGKILL);
        int nStatus = 0;
        ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
    }

    // Whether document n holds everything add n asked for, its listing under
    // the expiring-documents node included when bWithLinks.
    static ::testing::AssertionResult HoldsItsInfo(CDocumentRec& document, int n, bool bWithLinks)
    {
        CDocumentInfo wanted = InfoOf(n);
        CDocumentInfo info;
        document.GetInfo(&info);
        if (std::memcmp(&info, &wanted, sizeof(info)) != 0)
            return ::testing::AssertionFailure() << "document " << n << " is torn: '" << info.szDescription << "'";
        if (bWithLinks && (document.CountNodeLinks(TRUE) == 1) != (wanted.nExpiry > 0))
            return ::testing::AssertionFailure() << "document " << n << " is not listed as it expires";
        return ::testing::AssertionSuccess();
    }
};

}

TEST_F(CDocumentRecCrashTest, KilledWhileAddingNoRecordIsTornAndAddingAgainCompletesIt)
{
    std::map<std::string, int> numbers; // document names to their numbers
    for (int n = 0; n < DOCUMENT_COUNT; ++n)
        numbers.emplace(InfoOf(n).szName, n);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delay(0, 12000);
    int nFoundAtLeastOnce = 0;
    for (int nKill = 0; nKill < 20; ++nKill) {
        SCOPED_TRACE(nKill);
        NewMainCatalog().reset();
        ASSERT_NO_FATAL_FAILURE(AddKilledAfter(delay(random)));
        ASSERT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN));
        auto pCatalog = OpenCatalog();
        ASSERT_TRUE(pCatalog->IsOpen());
        // Every record there holds all its add asked for, a name cut short included.
        for (int nFolder = 0; nFolder < 4; ++nFolder) {
            std::unique_ptr<CDirectoryRec> pDirectory(pCatalog->FindDirectory(FolderOf(nFolder).c_str()));
            for (std::unique_ptr<CDocumentRec> p(pDirectory ? pDirectory->FirstDocument() : nullptr); p;
                 p.reset(pDirectory->NextDocument())) {
                CString strName;
                p->GetFullPath(strName);
                auto it = numbers.find(std::string(strName));
                ASSERT_NE(it, numbers.end()) << "a record named " << strName;
                EXPECT_TRUE(HoldsItsInfo(*p, it->second, false));
            }
        }
        for (int n = 0; n < DOCUMENT_COUNT; ++n) {
            CDocumentInfo info = InfoOf(n);
            std::unique_ptr<CDocumentRec> pFound(pCatalog->FindPath(FolderOf(n).c_str(), info.szName));
            if (!pFound)
                continue;
            ++nFoundAtLeastOnce;
            std::unique_ptr<CDocumentRec> pAgain(pCatalog->FindOrAddDocument(FolderOf(n).c_str(), info.szName, &info));
            ASSERT_TRUE(pAgain);
            EXPECT_EQ(pAgain->GetRef(), pFound->GetRef());
            EXPECT_TRUE(HoldsItsInfo(*pAgain, n, true));
        }
    }
    EXPECT_GT(nFoundAtLeastOnce, 0);
    EXPECT_EQ(m_errors.Count(), 0u);
}
