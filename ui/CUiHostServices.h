#pragma once

// What the interface kit asks of the application that hosts it. The kit sits
// below the frame, yet some of its controls reach objects the application
// holds (the main catalog a clipboard paste is checked against). The frame
// installs one implementation at start-up and tests install their own; until
// one is installed every call site finds none and does without. All calls are
// made from the user-interface thread.

class CCatalog;

class CUiHostServices {
public:
    virtual ~CUiHostServices() = default;

    // The catalog the user works in; null while none is open.
    virtual CCatalog* GetMainCatalog() = 0;
};

// Makes pServices the host (null: none) and returns the one it replaces. The
// caller keeps ownership and uninstalls it before it goes.
CUiHostServices* InstallUiHostServices(CUiHostServices* pServices);
// The installed host, or null.
CUiHostServices* GetUiHostServices();
// The host's main catalog, or null without a host or a catalog.
CCatalog* GetHostMainCatalog();
