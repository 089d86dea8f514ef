#pragma once

// An X server of a test program's own: Xvfb started on a free display (it
// names the display it took), with openbox as its window manager when the
// test asks for one. $ARCHIVORA_TEST_DISPLAY names an existing display to use
// instead (a developer watching the tests); such a display is never stopped.
//
// The server goes with the object: the window manager first, then Xvfb.

#include <string>
#include <sys/types.h>

class CTestXServer {
public:
    enum class EWindowManager {
        Absent,
        Openbox,
    };

    // Starts the server (and the window manager) and waits until they serve.
    explicit CTestXServer(EWindowManager eWindowManager = EWindowManager::Absent);
    ~CTestXServer();
    CTestXServer(const CTestXServer&) = delete;
    CTestXServer& operator=(const CTestXServer&) = delete;

    // Whether the server runs; when not, Failure() says why.
    bool IsRunning() const { return !m_strName.empty(); }
    const std::string& Failure() const { return m_strFailure; }
    // The display name, as ":12"; empty when not running.
    const std::string& Name() const { return m_strName; }

    // Ends the server at once, as a crash or the end of a session would.
    void Kill();

private:
    bool StartXvfb();
    bool StartOpenbox();

    std::string m_strName;
    std::string m_strFailure;
    pid_t m_nServer { -1 };
    pid_t m_nWindowManager { -1 };
};
