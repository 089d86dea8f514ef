#pragma once

// The Search page of a group: where the cataloguing looks for the group's
// keywords, as the eight bits of the low byte of the node's search-type word
// (file name, folder path, description, whole text; a message's subject,
// sender, recipients, body). CGroupPropertiesTipoProcura reads and stores a
// node's word, keeping its high byte; the set-up wizard's
// CGroupInstTipoProcura hands the byte in and out. Templates
// IDD_GROUP_SEARCH and IDD_GROUP_INST_SEARCH.

#include "platform/framework/CPropertyPage.h"

class CNodeRec;

class CGroupSearchPage : public CPropertyPage {
    DECLARE_DYNAMIC(CGroupSearchPage)
public:
    // The mask of a new group: file name, subject and sender.
    static constexpr BYTE DEFAULT_MASK = 0x31;
    static constexpr int FLAG_COUNT = 8;

protected:
    explicit CGroupSearchPage(UINT nIDTemplate);

    void DoDataExchange(CDataExchange* pDX) override;
    // The boxes' values as a byte, and back; neither touches the controls.
    BYTE GetFlags() const;
    void SetFlags(BYTE bMask);

private:
    int m_bFlags[FLAG_COUNT] {};
};

class CGroupPropertiesTipoProcura : public CGroupSearchPage {
    DECLARE_DYNCREATE(CGroupPropertiesTipoProcura)

public:
    CGroupPropertiesTipoProcura();

    // pNode is null for a new group, which gets DEFAULT_MASK.
    void LoadFromNode(const CNodeRec* pNode);
    BOOL StoreToNode(CNodeRec* pNode);
};

class CGroupInstTipoProcura : public CGroupSearchPage {
    DECLARE_DYNCREATE(CGroupInstTipoProcura)

public:
    CGroupInstTipoProcura();

    void SetMask(BYTE bMask);
    BYTE GetMask();
};
