#pragma once

// The choice of the document types and extensions the catalogue update takes,
// shared by the documents sheet's page and the document-type dialogs. The
// host window holds the type list (IDC_DOC_TYPES, a check box per type, the
// type's extension array as item data) and the extension list
// (IDC_DOC_EXTENSIONS, the shown type's extensions), and IDC_DOC_ADD_EXTENSION
// when it offers the "other" type; the host's message map forwards the four
// notifications below.
//
// Extensions are ".ext" in lower case everywhere here, as the file-type map
// and the new-extension dialog give them; the chosen map's keys are the
// chosen extensions, its values carry nothing. The chosen map is the
// caller's and outlives the choice. A type's extensions are committed to the
// chosen map when another type is shown and by CommitShownType.
//
// Use: BindControls from DoDataExchange; one fill step (FillAllTypes or
// FillNewTypes); MarkChosenExtensions; Init.

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"
#include "platform/base/CollectionMaps.h"
#include "platform/framework/CCheckListBox.h"
#include "ui/CFileTypeMap.h"
#include "ui/CIconCheckListBox.h"

#include <memory>
#include <string>
#include <unordered_map>

class CDataExchange;
class CWnd;

class CDocumentTypeChoice {
public:
    explicit CDocumentTypeChoice(CMapStringToPtr& chosen);
    CDocumentTypeChoice(const CDocumentTypeChoice&) = delete;
    CDocumentTypeChoice& operator=(const CDocumentTypeChoice&) = delete;

    // Subclasses the host's two lists; called from the host's DoDataExchange.
    void BindControls(CDataExchange* pDX);
    // The map the types come from; built by the fill steps.
    CFileTypeMap& FileTypes() { return m_fileTypes; }

    /* Filling, before Init. */

    // Every type of the map, sorted by name ignoring case, then the "other"
    // type (IDS_OTHER_DOCUMENT_TYPE) with an array of its own.
    void FillAllTypes();
    // The types of the map not named in offered (ignoring case), each put at
    // the top of the list; no "other" type.
    void FillNewTypes(const CStringArray& offered);
    // Checks each type that holds a chosen extension. A chosen extension no
    // listed type holds joins the "other" type, checked, when there is one.
    void MarkChosenExtensions();
    // Automatic boxes; the add button hidden; the focus on the type list; the
    // first type selected and shown, its extensions checked when chosen.
    void Init(CWnd* pHost);

    // Puts the shown type's extensions into the chosen map when the type and
    // the extension are checked, and takes them out otherwise.
    void CommitShownType();
    // Whether a listed type holds the extension.
    BOOL IsListedExtension(const CString& strExtension) const;
    int GetTypeCount() const { return m_types.GetCount(); }

    /* The host's notifications. */

    // Another type selected: the shown type committed, the new one shown.
    void OnTypeSelChange();
    // The shown type's box changed: its extensions take its state.
    void OnTypeCheckChange();
    // An extension's box changed: the type follows whether any is checked.
    void OnExtensionCheckChange();
    // Asks for an extension of the "other" type (IDS_EXTENSION_TAKEN when
    // another type holds it).
    void OnAddExtension();

private:
    CStringArray* ExtensionsOf(int nType) const;
    BOOL IsOtherType(int nType) const;
    // Lower-cases the type's extensions and notes their type.
    void NoteExtensions(const CString& strType, CStringArray& extensions);
    // Lists the type's extensions; TRUE when any of them is chosen.
    BOOL ListExtensions(int nType);
    void ShowAddButton(BOOL bShow);
    // Runs the new-extension dialog; TRUE when an extension was added.
    BOOL AddExtension();

    CMapStringToPtr& m_chosen;
    std::unordered_map<std::string, CString> m_typeOfExtension; // ".ext" -> type name
    CFileTypeMap m_fileTypes;
    std::unique_ptr<CStringArray> m_pOther; // the "other" type's extensions; null when not listed
    CString m_strOther;
    CIconCheckListBox m_types;
    CCheckListBox m_extensions;
    CWnd* m_pHost { nullptr };
    int m_nShown { 0 };
};
