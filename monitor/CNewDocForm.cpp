#include "monitor/CNewDocForm.h"

#include "catalog/DocumentTexts.h"

#include "mail/CMailMessage.h"
#include "store/CCatalog.h"
#include "store/CPreferences.h"
#include "store/CatalogTypes.h"

#include <algorithm>

CNewDocForm::CNewDocForm(CCatalog* pCatalog)
    : m_pCatalog(pCatalog)
{
    ReloadMaps();
}

CNewDocForm::~CNewDocForm() = default;

void CNewDocForm::Prepare(int nIndex, const CNewDocNotice& notice)
{
    m_nShown = nIndex;
    m_proposal = CNewDocProposal {};
    m_proposal.strDescription = MakeDescription(std::string_view(notice.GetDescription()));
    if (const CMailMessage* pMessage = notice.GetMessage()) {
        const CMessageTexts texts = ReadMessageTexts(*pMessage);
        m_proposal.strName = texts.strSubject;
        m_proposal.strSecondary = notice.GetMessageField();
        m_proposal.bPlacedByRules = m_pPlacement->PlaceMessage(notice.GetPath(), texts, m_proposal.nodes);
    } else {
        const CString& strPath = notice.GetPath();
        m_proposal.strName = strPath.Mid(strPath.ReverseFind('\\') + 1);
        m_proposal.bPlacedByRules = m_pPlacement->PlaceFile(strPath, m_proposal.strDescription, m_proposal.nodes);
    }
    m_strOwnPassword = notice.GetProtection();
    m_proposal.strPassword = m_strOwnPassword;
}

void CNewDocForm::ReloadMaps()
{
    m_pPlacement.reset();
    m_pPlacement = std::make_unique<CDocumentPlacement>(m_pCatalog, thePreferences.GetDefaultSystem(m_pCatalog));
}

BOOL CNewDocForm::DropMissingNodes()
{
    const auto it = std::remove_if(m_proposal.nodes.begin(), m_proposal.nodes.end(), [&](const auto& pNode) {
        const CRecordRef ref = pNode->GetRef();
        return !m_pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_NODE);
    });
    if (it == m_proposal.nodes.end())
        return FALSE;
    m_proposal.nodes.erase(it, m_proposal.nodes.end());
    return TRUE;
}
