#pragma once

// The desktop's launchers (".desktop" files) and file types, as GIO finds
// them in the XDG data folders: every launcher, the default and the other
// applications for a MIME type (mimeapps.list, mimeinfo.cache), and the MIME
// type a file name gives. Launchers installed while the program runs are seen
// at the next call. May be called from any thread.

#include <optional>
#include <string>
#include <vector>

struct CDesktopApp {
    std::string strId;    // "org.gnome.TextEditor.desktop"
    std::string strName;  // "Text Editor"
    std::string strFile;  // host path of its .desktop file
    std::string strExec;  // its Exec line, field codes kept
    std::string strIcon;  // its Icon; empty for none
    bool bShown { true }; // whether menus show it
};

// Every installed launcher that names a program.
std::vector<CDesktopApp> AllDesktopApps();
// The launcher of a .desktop file; nullopt when it is not one GIO reads.
std::optional<CDesktopApp> DesktopAppOfFile(const std::string& strHostPath);

// The application that opens a MIME type by default; nullopt for none.
std::optional<CDesktopApp> DefaultAppForType(const std::string& strType);
// The other applications for a MIME type, the recommended ones first, without the default.
std::vector<CDesktopApp> OtherAppsForType(const std::string& strType);
// Every MIME type some launcher opens.
std::vector<std::string> TypesWithApps();

// The MIME type a file name gives by its extension; empty when none is known.
std::string ContentTypeOfName(const std::string& strName);
// The description of a MIME type ("Plain text document").
std::string ContentTypeDescription(const std::string& strType);
