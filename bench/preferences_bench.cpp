// The documents sheet's opening against the file-type map's build alone, in
// the same run, on the headless display: a classes root of 1 000 creatable
// document types of 3 extensions each, and a catalog of 500 extensions (400
// of those types, 100 that no type holds).
//
// - documents_sheet_open: the sheet's data copied in from the catalog, the
//   sheet made and its first page (the document types, sorted, marked)
//   filled and painted;
// - file_type_map_build: CFileTypeMap::Build over the same classes root.
//
// Prints "name: value" lines: milliseconds (the median of the runs), the ratio
// (the median of the runs' own ratios) and the goal (at most twice the build
// and under 100 ms) with whether it is met. Figures are meant from a Release
// build.

#include "bench/BenchTiming.h"
#include "dialogs/preferences/PreferencePropSheets.h"
#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/controls/PropertySheet.h"
#include "platform/framework/CWinThread.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CPreferences.h"
#include "store/CatalogTypes.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/ScratchFolder.h"
#include "ui/CFileTypeMap.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int RUNS = 21;
constexpr int TYPES = 1000;
constexpr int EXTENSIONS_PER_TYPE = 3;
constexpr int CATALOGUED_KNOWN = 400;
constexpr int CATALOGUED_UNKNOWN = 100;
constexpr double GOAL_RATIO = 2.0;
constexpr double GOAL_MS = 100.0;

[[noreturn]] void Fail(const char* pszWhat)
{
    std::fprintf(stderr, "preferences_bench: %s\n", pszWhat);
    std::exit(1);
}

std::string Extension(int nType, int nIndex)
{
    return ".t" + std::to_string(nType) + "x" + std::to_string(nIndex);
}

// Every type creatable (a ShellNew key on its first extension), its other
// extensions joining it through the shared description. Written as the
// classes root's settings file at once: thousands of single writes would
// each save the file.
void WriteClassesRoot(const std::filesystem::path& home)
{
    std::filesystem::create_directories(home / "settings");
    std::ofstream file(home / "settings" / "ClassesRoot.reg");
    file << "ARCHIVORA-REGISTRY 1\n[]\n";
    for (int nType = 0; nType < TYPES; ++nType) {
        const std::string strDescription = "Document Type " + std::to_string(10000 + nType);
        for (int nIndex = 0; nIndex < EXTENSIONS_PER_TYPE; ++nIndex) {
            const std::string strExtension = Extension(nType, nIndex);
            const std::string strClass = "type" + std::to_string(nType) + "file" + std::to_string(nIndex);
            file << "[" << strExtension << "]\n@=sz:\"" << strClass << "\"\n";
            file << "[" << strClass << "]\n@=sz:\"" << strDescription << "\"\n";
            if (nIndex == 0)
                file << "[" << strExtension << "\\ShellNew]\n\"NullFile\"=sz:\"\"\n";
        }
    }
    file << "END\n";
    if (!file.flush())
        Fail("cannot write the classes root");
}

void FillCatalogExtensions(CCatalog& catalog)
{
    for (int n = 0; n < CATALOGUED_KNOWN; ++n) {
        if (!catalog.LoadExtensions(Extension(n * 2, n % EXTENSIONS_PER_TYPE).substr(1).c_str()))
            Fail("cannot add an extension");
    }
    for (int n = 0; n < CATALOGUED_UNKNOWN; ++n) {
        if (!catalog.LoadExtensions(("u" + std::to_string(n)).c_str()))
            Fail("cannot add an extension");
    }
}

// The documents command's work up to the first page's paint.
double TimeDocumentsSheet(CWnd& owner, CCatalog& catalog)
{
    CDocumentsSheetData data;
    std::unique_ptr<CDocumentsPropSheet> pSheet;
    const double dMs = Milliseconds([&] {
        thePreferences.LoadDocumentsSheet(data, &catalog);
        pSheet = std::make_unique<CDocumentsPropSheet>(data, &owner);
        if (!pSheet->Create(&owner, WS_POPUP | WS_CAPTION | WS_VISIBLE))
            Fail("no documents sheet");
        pSheet->UpdateWindow();
        HWND hPage = reinterpret_cast<HWND>(pSheet->SendMessage(PSM_GETCURRENTPAGEHWND));
        if (!hPage)
            Fail("no first page");
        ::UpdateWindow(hPage);
        ::UpdateWindow(::GetDlgItem(hPage, IDC_DOC_TYPES));
    });
    pSheet->DestroyWindow();
    return dMs;
}

double TimeFileTypeMap()
{
    CFileTypeMap map;
    return Milliseconds([&] { map.Build(); });
}

} // namespace

int main()
{
    const ScratchFolder folder("preferences_bench.");
    if (!folder.IsValid())
        Fail("no scratch folder");
    const ScopedVariable home("ARCHIVORA_HOME", std::filesystem::path(folder.Path()).string());
    const HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(PREFERENCES_BENCH_MODULE).c_str());
    if (!hModule)
        Fail("no resource module at " PREFERENCES_BENCH_MODULE);
    AfxSetResourceHandle(hModule);

    WriteClassesRoot(std::filesystem::path(folder.Path()));
    const CString strCatalog
        = ProgramPathFromHostPath((std::filesystem::path(folder.Path()) / "archiv.cat").string()).c_str();
    if (!CCatalog::CreateFile(FALSE, strCatalog, BLOCK_SIZE))
        Fail("cannot create the catalog");
    CCatalog catalog(strCatalog, 1);
    FillCatalogExtensions(catalog);

    CWnd owner;
    if (!owner.CreateEx(
            0, AfxRegisterWndClass(0), "preferences_bench", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr))
        Fail("no owner window");

    // Once each before timing: fonts, images, the registry and the catalog's pages are ready.
    TimeDocumentsSheet(owner, catalog);
    TimeFileTypeMap();
    std::vector<double> sheetMs, mapMs;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        sheetMs.push_back(TimeDocumentsSheet(owner, catalog));
        mapMs.push_back(TimeFileTypeMap());
    }
    owner.DestroyWindow();

    const double dMs = Median(sheetMs);
    const double dRatio = MedianRatio(sheetMs, mapMs);
    std::printf("types: %d\n", TYPES);
    std::printf("catalogued_extensions: %d\n", CATALOGUED_KNOWN + CATALOGUED_UNKNOWN);
    std::printf("documents_sheet_open_ms: %.3f\n", dMs);
    std::printf("file_type_map_build_ms: %.3f\n", Median(mapMs));
    std::printf("documents_sheet_open_ratio: %.2f (goal <= %.1f: %s)\n", dRatio, GOAL_RATIO,
        dRatio <= GOAL_RATIO ? "met" : "missed");
    std::printf("documents_sheet_open_under_100ms: %s\n", dMs < GOAL_MS ? "met" : "missed");
    return 0;
}
