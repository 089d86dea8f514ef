#pragma once

// The engine under the change notices (ChangeNotify.h): watched trees on
// inotify, read by one engine thread, which translates what the kernel tells
// into entries and hands them to each tree's sink.

#include "platform/base/WinTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One change: a FILE_ACTION_* and the name relative to the watched folder,
// folders separated by "\".
struct CChangeEntry {
    DWORD dwAction { 0 };
    std::string strName;

    bool operator==(const CChangeEntry&) const = default;
};

// Where a watched tree delivers its entries; called on the engine thread,
// holding none of the engine's locks. bRescan tells entries found by a rescan
// or a poll from those the kernel reported: a queue keeps the former whatever
// its bound, or a tree larger than the bound would never be reported whole.
class CChangeSink {
public:
    virtual ~CChangeSink() = default;
    virtual void OnChanges(const std::vector<CChangeEntry>& entries, bool bRescan) = 0;
};

// A watched tree; watching ends when the last holder lets go.
class CChangeSubscription {
public:
    virtual ~CChangeSubscription() = default;
    // Asks for a rescan reporting every entry whose status changed at or after
    // nSinceNs (wall time in nanoseconds), as after an overflow.
    virtual void RequestRescan(std::int64_t nSinceNs) = 0;
};

// Starts watching a host folder (and its subtree) for the FILE_NOTIFY_CHANGE_*
// of dwFilter; entries go to the sink while it lives. nullptr when the folder
// cannot be watched (the last error says why).
std::shared_ptr<CChangeSubscription> WatchHostFolder(
    const std::string& strHostFolder, bool bSubtree, DWORD dwFilter, std::weak_ptr<CChangeSink> pSink);

// The current wall time in nanoseconds, as the rescans count it.
std::int64_t ChangeClockNs();

// The bound of a handle's queue (CHANGE_QUEUE_BOUND unless a test lowered it).
size_t ChangeQueueBound();
