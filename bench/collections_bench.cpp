// Figures for the collections the program leans on: text-keyed map lookups and
// array growth by Add, the growth beside std::vector's push_back measured in
// the same run; the last lines give each array's time as a multiple of the
// vector's, at every size.

#include "platform/base/CollectionArrays.h"
#include "platform/base/CollectionMaps.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int KEY_COUNT = 100000;

// Folder-like keys, as the catalog's path maps hold.
std::vector<CString> MakeKeys()
{
    std::vector<CString> keys;
    keys.reserve(KEY_COUNT);
    char szKey[64];
    for (int i = 0; i < KEY_COUNT; ++i) {
        std::snprintf(szKey, sizeof(szKey), "c:\\documents\\folder%03d\\file%05d.txt", i % 997, i);
        keys.emplace_back(szKey);
    }
    return keys;
}

// Looks up every key of a map holding 100 000 keys, in a table of the size
// given as the argument (17 is the default the table keeps unless told).
void BM_MapStringToPtrLookup(benchmark::State& state)
{
    static const std::vector<CString> keys = MakeKeys();
    CMapStringToPtr map;
    map.InitHashTable(static_cast<UINT>(state.range(0)));
    for (const CString& key : keys)
        map[key] = const_cast<CString*>(&key);

    std::size_t nNext = 0;
    for (auto _ : state) {
        void* pValue = nullptr;
        benchmark::DoNotOptimize(map.Lookup(keys[nNext], pValue));
        benchmark::DoNotOptimize(pValue);
        nNext = (nNext + 7919) % keys.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MapStringToPtrLookup)->Arg(17)->Arg(1009)->Arg(131071);

// Adds range(0) elements one by one with the default growth rule.
void BM_ArrayAddDefaultGrowth(benchmark::State& state)
{
    for (auto _ : state) {
        CDWordArray array;
        for (int i = 0; i < state.range(0); ++i)
            array.Add(static_cast<DWORD>(i));
        benchmark::DoNotOptimize(array.GetData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ArrayAddDefaultGrowth)->Range(1 << 10, 1 << 20);

// The reference: the same numbers pushed onto a vector without reserving.
void BM_VectorPushBack(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<DWORD> vector;
        for (int i = 0; i < state.range(0); ++i)
            vector.push_back(static_cast<DWORD>(i));
        benchmark::DoNotOptimize(vector.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_VectorPushBack)->Range(1 << 10, 1 << 20);

// The same with text elements, which move rather than copy when the array grows.
void BM_StringArrayAddDefaultGrowth(benchmark::State& state)
{
    const CString strElement("c:\\documents\\folder\\a file with a longer name.txt");
    for (auto _ : state) {
        CStringArray array;
        for (int i = 0; i < state.range(0); ++i)
            array.Add(strElement);
        benchmark::DoNotOptimize(array.GetData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StringArrayAddDefaultGrowth)->Range(1 << 10, 1 << 18);

void BM_StringVectorPushBack(benchmark::State& state)
{
    const CString strElement("c:\\documents\\folder\\a file with a longer name.txt");
    for (auto _ : state) {
        std::vector<CString> vector;
        for (int i = 0; i < state.range(0); ++i)
            vector.push_back(strElement);
        benchmark::DoNotOptimize(vector.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StringVectorPushBack)->Range(1 << 10, 1 << 18);

// Shows every run as the console does and keeps each run's time, so that the
// arrays can be put beside the vectors afterwards.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            m_times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    // "name: ratio" of the array's time to the vector's, when both ran; of
    // their medians when the run was repeated (--benchmark_repetitions).
    void PrintRatio(const std::string& strArray, const std::string& strVector) const
    {
        const double tArray = TimeOf(strArray);
        const double tVector = TimeOf(strVector);
        if (tArray > 0 && tVector > 0)
            std::printf("%s / %s: %.2f\n", strArray.c_str(), strVector.c_str(), tArray / tVector);
    }

private:
    double TimeOf(const std::string& strName) const
    {
        for (const std::string& strKey : { strName + "_median", strName }) {
            if (const auto it = m_times.find(strKey); it != m_times.end())
                return it->second;
        }
        return 0;
    }

    std::map<std::string, double> m_times;
};

}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* pszSize : { "1024", "4096", "32768", "262144", "1048576" })
        reporter.PrintRatio(
            std::string("BM_ArrayAddDefaultGrowth/") + pszSize, std::string("BM_VectorPushBack/") + pszSize);
    for (const char* pszSize : { "1024", "4096", "32768", "262144" }) {
        reporter.PrintRatio(std::string("BM_StringArrayAddDefaultGrowth/") + pszSize,
            std::string("BM_StringVectorPushBack/") + pszSize);
    }
    benchmark::Shutdown();
    return 0;
}
