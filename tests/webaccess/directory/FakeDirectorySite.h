#pragma once

// The web access settings of a test pointed at a fake directory server on
// loopback, on a LAN link, with a stored account; attached to the
// preferences while the object lives, so that saves write them.

#include "platform/net/ConnectedState.h"
#include "store/CPreferences.h"
#include "tools/testpeers/FakeDirectoryServer.h"
#include "webaccess/directory/CWAHttpQuery.h"
#include "webaccess/profiles/CWASettings.h"

#include <cstdlib>

class FakeDirectorySite {
public:
    FakeDirectorySite()
    {
        setenv("no_proxy", "127.0.0.1", 1);
        setenv("NO_PROXY", "127.0.0.1", 1);
        m_settings.SetDefaults();
        m_settings.m_strSite = m_server.BaseUrl().c_str();
        m_settings.m_nConnType = WA_CONN_LAN;
        m_settings.m_strLogin = "ana";
        m_settings.m_strPassword = "secret";
        m_settings.m_strCatName = "Docs";
        m_settings.m_strCatCode = "C0DE42";
        thePreferences.AttachWebSettings(&m_settings);
    }
    ~FakeDirectorySite() { thePreferences.AttachWebSettings(nullptr); }
    FakeDirectorySite(const FakeDirectorySite&) = delete;
    FakeDirectorySite& operator=(const FakeDirectorySite&) = delete;

    CFakeDirectoryServer m_server;
    CWASettings m_settings;
    CConnectedStateOverride m_connected { TRUE, INTERNET_CONNECTION_LAN };
};
