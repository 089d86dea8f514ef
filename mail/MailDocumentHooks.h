#pragma once

// Installs the mail store readers as the catalog's way to read the messages of
// mail documents (state, text, protection). The application calls it once at
// start-up, before any catalog is opened: in its InitInstance, next to the
// scan of the mail clients.
void InstallMailDocumentHooks();
