#pragma once

// Operations on sets of catalog records that the lists and the tree start:
// pasting or dropping documents and nodes under a node, and removing items
// from a node after the user confirmed it.

#include "platform/base/MessageBoxCodes.h"
#include "store/CNodeRec.h"

#include <functional>
#include <span>
#include <vector>

class CCatalogRecord;

/* The payload of a copy or drag inside the program, as the clipboard keeps it:
   little-endian 32-bit values without header: source block and slot (-1 -1
   without a source node), the operation, the item count N, then N pairs of
   block and slot. */

constexpr LONG PAYLOAD_COPY = 1;
constexpr LONG PAYLOAD_MOVE = 2;

struct CCatalogPayload {
    CRecordRef source;                // the node the items were taken from; none without one
    LONG nOperation { PAYLOAD_COPY }; // PAYLOAD_COPY or PAYLOAD_MOVE
    std::vector<CRecordRef> items;    // nodes and documents
};

std::vector<BYTE> BuildCatalogPayload(const CCatalogPayload& payload);
// What bytes after the last item mean: damage, or the slack of a memory
// block that another program may have made longer than the payload.
enum class PayloadTail {
    Refuse,
    Ignore,
};
// FALSE for bytes that end early, a negative count or, unless eTail says
// otherwise, bytes left over. A count is never trusted beyond the bytes there.
BOOL ParseCatalogPayload(
    std::span<const BYTE> bytes, CCatalogPayload* pPayload, PayloadTail eTail = PayloadTail::Refuse);

// Pastes or drops the payload's documents and nodes under pTarget (nOperation
// PAYLOAD_COPY or PAYLOAD_MOVE). Documents are linked to the target; a moved
// document loses its link to the source node. A node is copied with its
// subtree, information, keywords, folders and document links (merged into a
// child of the same name); a moved node is then deleted. A node is never
// dropped into its own subtree, and fixed nodes never move. References that
// name no node or document are skipped. Non-zero when the catalog changed.
int DropDocuments(CNodeRec* pTarget, const CCatalogPayload& payload, int nOperation);

/* Removing items from a node. */

// The message box style of the question: MB_YESNO, the question icon, the
// second button as default.
constexpr UINT CONFIRM_DELETE_STYLE = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
// The answer that removes the items.
constexpr int CONFIRM_DELETE_YES = IDYES;

// What the user is asked, as data: the string IDs that make up the text, in
// order (IDS_DELETE_*: the documents, then the groups, their subtrees, where
// orphaned documents go, and whether to go on), and the paths of the items.
struct CDeleteQuestion {
    std::vector<UINT> textIds;
    std::vector<CString> paths; // documents: full paths; nodes: their names from the top, joined by '\'
    UINT nStyle { CONFIRM_DELETE_STYLE };
};

// Answers a question with CONFIRM_DELETE_YES or anything else.
using ConfirmDeleteCallback = std::function<int(const CDeleteQuestion&)>;

// Asks through pfnAsk and on CONFIRM_DELETE_YES removes the items' links
// from pParent (a node with its subtree). A document left linked to no node
// but the expiring-documents and favourites nodes is linked under the systems
// root. Non-zero when something was removed.
int ConfirmDeleteItems(CNodeRec* pParent, std::span<CCatalogRecord* const> items, const ConfirmDeleteCallback& pfnAsk);
