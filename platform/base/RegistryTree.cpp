#include "platform/base/RegistryTree.h"

#include "platform/base/TextFunctions.h"

#include <algorithm>

std::shared_ptr<CRegistryNode> CRegistryNode::FindSubkey(std::string_view strName) const
{
    auto it = m_subkeys.find(Utf8ToUpper(strName));
    return it == m_subkeys.end() ? nullptr : it->second;
}

std::shared_ptr<CRegistryNode> CRegistryNode::AddSubkey(const std::string& strName, bool& bCreated)
{
    auto [it, bInserted] = m_subkeys.try_emplace(Utf8ToUpper(strName));
    if (bInserted) {
        it->second = std::make_shared<CRegistryNode>(strName);
        m_cursor.bValid = false;
    }
    bCreated = bInserted;
    return it->second;
}

std::shared_ptr<CRegistryNode> CRegistryNode::RemoveSubkey(std::string_view strName)
{
    auto it = m_subkeys.find(Utf8ToUpper(strName));
    if (it == m_subkeys.end())
        return nullptr;
    std::shared_ptr<CRegistryNode> pNode = std::move(it->second);
    m_subkeys.erase(it);
    m_cursor.bValid = false;
    return pNode;
}

const CRegistryNode* CRegistryNode::SubkeyAt(size_t nIndex) const
{
    if (nIndex >= m_subkeys.size())
        return nullptr;
    if (!m_cursor.bValid || m_cursor.nIndex > nIndex) {
        m_cursor.it = m_subkeys.begin();
        m_cursor.nIndex = 0;
    }
    m_cursor.it = std::next(m_cursor.it, static_cast<std::ptrdiff_t>(nIndex - m_cursor.nIndex));
    m_cursor.nIndex = nIndex;
    m_cursor.bValid = true;
    return m_cursor.it->second.get();
}

size_t CRegistryNode::FindValueIndex(std::string_view strName) const
{
    std::string strFolded = Utf8ToUpper(strName);
    auto it = std::find_if(m_values.begin(), m_values.end(),
        [&](const CRegistryValue& value) { return Utf8ToUpper(value.strName) == strFolded; });
    return static_cast<size_t>(it - m_values.begin());
}

const CRegistryValue* CRegistryNode::FindValue(std::string_view strName) const
{
    size_t nIndex = FindValueIndex(strName);
    return nIndex < m_values.size() ? &m_values[nIndex] : nullptr;
}

void CRegistryNode::SetValue(const std::string& strName, DWORD dwType, std::vector<BYTE> data)
{
    size_t nIndex = FindValueIndex(strName);
    if (nIndex == m_values.size())
        m_values.push_back(CRegistryValue { strName, dwType, std::move(data) });
    else
        m_values[nIndex] = CRegistryValue { m_values[nIndex].strName, dwType, std::move(data) };
}

bool CRegistryNode::RemoveValue(std::string_view strName)
{
    size_t nIndex = FindValueIndex(strName);
    if (nIndex == m_values.size())
        return false;
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(nIndex));
    return true;
}

void CRegistryNode::MarkDeleted()
{
    m_bDeleted = true;
    for (auto& [strFolded, pSubkey] : m_subkeys)
        pSubkey->MarkDeleted();
}
