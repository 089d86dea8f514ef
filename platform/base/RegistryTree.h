#pragma once

// The in-memory tree of one registry root: keys with case-insensitive names that
// keep their case, each holding typed values. Names compare by their upper-cased
// form (Utf8ToUpper), so case differences in any script are ignored. Both the file format and the
// registry calls work on this tree; it knows nothing of files or handles.

#include "platform/base/WinTypes.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How deep keys may nest below a root; deeper paths are refused, so that walks
// over the tree have a bound.
constexpr size_t REGISTRY_MAX_DEPTH = 512;

// One named, typed value. The default value of a key has the empty name.
struct CRegistryValue {
    std::string strName;
    DWORD dwType { 0 };
    std::vector<BYTE> data;
};

// One key. Subkeys are ordered by their upper-cased names, values by their creation.
class CRegistryNode {
public:
    explicit CRegistryNode(std::string strName = {})
        : m_strName(std::move(strName))
    {
    }

    const std::string& GetName() const { return m_strName; }

    // Subkeys, in the order of their upper-cased names.
    const std::map<std::string, std::shared_ptr<CRegistryNode>>& GetSubkeys() const { return m_subkeys; }
    std::shared_ptr<CRegistryNode> FindSubkey(std::string_view strName) const;
    // The subkey at that place of the order above, or nullptr past the last.
    // The node remembers the place last asked for, so that walking the
    // places in order costs one step each.
    const CRegistryNode* SubkeyAt(size_t nIndex) const;
    // The subkey of that name, created when absent; `bCreated` tells which.
    std::shared_ptr<CRegistryNode> AddSubkey(const std::string& strName, bool& bCreated);
    // Detaches the subkey and returns it (nullptr when absent).
    std::shared_ptr<CRegistryNode> RemoveSubkey(std::string_view strName);

    // Values, in the order they were first set.
    const std::vector<CRegistryValue>& GetValues() const { return m_values; }
    const CRegistryValue* FindValue(std::string_view strName) const;
    // Sets a value; an existing value of that name keeps its place and its name's case.
    void SetValue(const std::string& strName, DWORD dwType, std::vector<BYTE> data);
    bool RemoveValue(std::string_view strName);
    void RemoveAllValues() { m_values.clear(); }

    // Marks this key and every key below it as deleted, for the handles still open on them.
    void MarkDeleted();
    bool IsDeleted() const { return m_bDeleted; }

    // When the key or one of its values last changed (FILETIME units).
    ULONGLONG GetLastWriteTime() const { return m_nLastWrite; }
    void SetLastWriteTime(ULONGLONG nTime) { m_nLastWrite = nTime; }

private:
    // The index of the value of that name, or the number of values when there is none.
    size_t FindValueIndex(std::string_view strName) const;

    std::string m_strName;
    using SubkeyMap = std::map<std::string, std::shared_ptr<CRegistryNode>>;

    SubkeyMap m_subkeys; // keyed by upper-cased name
    // SubkeyAt's last answer; dropped whenever a subkey is added or removed,
    // and never copied with the node (it points into this node's map).
    struct CPlaceCursor {
        CPlaceCursor() = default;
        CPlaceCursor(const CPlaceCursor&) { }
        CPlaceCursor& operator=(const CPlaceCursor&)
        {
            bValid = false;
            return *this;
        }

        SubkeyMap::const_iterator it;
        size_t nIndex { 0 };
        bool bValid { false };
    };
    mutable CPlaceCursor m_cursor;
    std::vector<CRegistryValue> m_values;
    ULONGLONG m_nLastWrite { 0 };
    bool m_bDeleted { false };
};
