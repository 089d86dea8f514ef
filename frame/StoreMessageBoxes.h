#pragma once

// The store's reports to the user (a catalog that cannot be opened, a
// protected file or a document copy that failed, a path that names two files)
// shown as message boxes: the report's text and title, its icon and an OK
// button, owned as the class library's message boxes are. A report made while
// no application runs, or on a thread other than the application's, has no
// window to show in and goes to the trace log only.
void InstallStoreMessageBoxes();
