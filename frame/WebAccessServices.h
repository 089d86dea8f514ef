#pragma once

// What the main frame's web access server is made with: the program's web
// access settings block (the one the preferences carry and load) and the
// dialogs it shows. The dialogs' windows are installed from the program's
// entry; until then the defaults answer as a user who declines: the set-up
// wizard and the connect dialog are cancelled, no notice shows and the log
// is not shown, so the server never starts.

class CWASettings;
class CWAServicePrompts;

// The settings block; InstallProgramHooks attaches it to the preferences.
CWASettings& GetWebAccessSettings();

// The prompts in use: the installed ones, else the defaults.
CWAServicePrompts& GetWebAccessPrompts();
// Installs pPrompts (null: the defaults again) and returns the previous ones
// (null for the defaults); the caller keeps them alive while installed.
CWAServicePrompts* InstallWebAccessPrompts(CWAServicePrompts* pPrompts);
