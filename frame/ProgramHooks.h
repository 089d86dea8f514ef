#pragma once

// Installs, in one place, what the program's lower layers reach upwards
// through: the mail readers behind the catalog's mail documents, and the
// seams the frame and the interface kit answer. Called first thing in start-up;
// calling it again changes nothing. The dialogs' implementation of
// CFramePrompts is installed by the program itself (app/), before start-up.
void InstallProgramHooks();
