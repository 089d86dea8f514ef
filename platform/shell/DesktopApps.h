#pragma once

// The desktop's launchers (".desktop" files) and file types: every launcher
// of the XDG applications folders (an id in a more important folder hides the
// others), the default application of a MIME type (the [Default Applications]
// of the mimeapps.list files, desktop-specific ones first, else the first
// launcher listing the type), and the MIME type a file name gives. The folders
// and files are read at every call, so what is installed while the program
// runs counts at once; GIO reads each launcher and the MIME database. May be
// called from any thread.

#include <optional>
#include <string>
#include <vector>

struct CDesktopApp {
    std::string strId;              // "org.gnome.TextEditor.desktop"
    std::string strName;            // "Text Editor"
    std::string strFile;            // host path of its .desktop file
    std::string strExec;            // its Exec line, field codes kept
    std::string strIcon;            // its Icon; empty for none
    bool bShown { true };           // whether menus show it
    std::vector<std::string> types; // the MIME types it opens
    // The Exec line of its "new document" action, by which it declares that it
    // makes new documents of its first type; empty when it has none.
    std::string strNewDocumentExec;
};

// Every installed launcher that names a program.
std::vector<CDesktopApp> AllDesktopApps();
// The launcher of a .desktop file; nullopt when it is not one GIO reads.
std::optional<CDesktopApp> DesktopAppOfFile(const std::string& strHostPath);

// The application that opens a MIME type by default; nullopt for none.
std::optional<CDesktopApp> DefaultAppForType(const std::string& strType);
// The other applications that list a MIME type, without the default.
std::vector<CDesktopApp> OtherAppsForType(const std::string& strType);
// Every MIME type some launcher opens.
std::vector<std::string> TypesWithApps();

// The MIME type a file name gives by its extension; empty when none is known.
std::string ContentTypeOfName(const std::string& strName);
// The description of a MIME type ("Plain text document").
std::string ContentTypeDescription(const std::string& strType);
// The name of the icon theme's icon for a MIME type ("application-pdf"); empty for none.
std::string ContentTypeIconName(const std::string& strType);
