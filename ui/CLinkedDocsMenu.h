#pragma once

// The menu of the systems and groups a document is linked to: one item per
// linked node, with the node's name and the picture of its image number,
// commands ID_LINKED_SYSTEM_FIRST + the node's place in the document's list.

#include "platform/framework/CImageList.h"
#include "ui/CImageMenu.h"

class CDocumentRec;

class CLinkedDocsMenu : public CImageMenu {
public:
    CLinkedDocsMenu();

    // Empties the menu and lists the document's nodes; TRUE when it has any.
    BOOL Build(const CDocumentRec& document);

private:
    CImageList m_images; // IDB_SYSTEM_IMAGES
};
