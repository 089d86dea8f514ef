#pragma once

// The Messages page of a group: which of its mail messages it shows, kept as
// bits 0 and 2 of the node's flags (choice 0 sets bit 0 and clears bit 2,
// choice 1 the reverse; the other bits stay). Nothing in the program reads
// these bits yet. Its template is resource IDD_GROUP_MESSAGES.

#include "platform/framework/CPropertyPage.h"

class CNodeRec;

class CGroupPropertiesMensagens : public CPropertyPage {
    DECLARE_DYNCREATE(CGroupPropertiesMensagens)

public:
    static constexpr LONG FLAG_BOTH = 0x1;     // choice 0
    static constexpr LONG FLAG_RECEIVED = 0x4; // choice 1

    CGroupPropertiesMensagens();

    // pNode is null for a new group, which gets choice 0.
    void LoadFromNode(const CNodeRec* pNode);
    BOOL StoreToNode(CNodeRec* pNode);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    int m_nChoice { 0 };
};
