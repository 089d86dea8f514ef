#pragma once

// Another program on the test's X server, for the clipboard tests: it owns
// the CLIPBOARD selection with data of the test's choosing (in chunks when it
// is large), reads the program's, and plays the desktop's clipboard manager.
// It runs on a thread of its own with its own connection, so that it answers
// while the program under test waits for it, and the other way round.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

typedef struct _XDisplay Display;
union _XEvent;

class CSelectionPeer {
public:
    struct CData {
        std::string strType; // the atom's name
        std::vector<uint8_t> bytes;
        bool bInChunks { false }; // read: it came in chunks (INCR)
    };

    enum class EAnswers {
        All,
        TargetsOnly, // lists its targets but never gives their data
    };

    // The most data this peer gives in one property; larger data goes in chunks.
    static constexpr size_t CHUNK = 64 * 1024;

    explicit CSelectionPeer(const std::string& strDisplay);
    ~CSelectionPeer();
    CSelectionPeer(const CSelectionPeer&) = delete;
    CSelectionPeer& operator=(const CSelectionPeer&) = delete;

    bool IsOpen() const { return m_pDisplay != nullptr; }

    /* Owning. */

    // Takes CLIPBOARD offering the targets (name: type and data).
    void Own(std::map<std::string, CData> targets, EAnswers eAnswers = EAnswers::All);
    // The X window that owns CLIPBOARD now (0: nobody), and whether it is this peer's.
    unsigned long ClipboardOwner();
    bool OwnsClipboard() { return ClipboardOwner() == m_window; }

    /* Reading the owner's data; the answer comes once the owner gave it (the
       test runs the program's messages meanwhile). Nothing when the owner
       refused, or after five seconds. */

    std::future<std::optional<CData>> Read(const std::string& strTarget);
    // The owner's targets, by name.
    std::future<std::vector<std::string>> Targets();

    /* The clipboard manager. */

    // Owns CLIPBOARD_MANAGER: when an owner asks it to save its targets, it
    // reads UTF8_STRING from it before saying it has.
    void BecomeClipboardManager();
    // The text saved so far; nothing before an owner asked.
    std::optional<std::string> SavedText();

private:
    using Atom = unsigned long;
    using Window = unsigned long;

    struct COutgoing {
        Window requestor;
        Atom property;
        Atom type;
        std::vector<uint8_t> bytes;
        size_t nSent;
    };

    void Run();
    // Runs `task` on the peer's thread and waits until it ran.
    void RunThere(std::function<void()> task);
    void Post(std::function<void()> task);
    void Handle(union _XEvent& event);
    // Answers a request for a selection the peer owns.
    void Serve(const union _XEvent& event);
    std::optional<CData> ReadNow(Atom selection, Atom target);
    Atom AtomOf(const std::string& strName);
    std::string NameOf(Atom atom);

    Display* m_pDisplay { nullptr };
    Window m_window { 0 };
    int m_wakeFds[2] { -1, -1 };
    std::thread m_thread;

    std::mutex m_mutex; // guards what the test and the thread share
    std::vector<std::function<void()>> m_tasks;
    bool m_bStop { false };
    std::optional<std::string> m_savedText;

    // The thread's own.
    std::map<Atom, CData> m_targets;
    EAnswers m_eAnswers { EAnswers::All };
    std::vector<COutgoing> m_outgoing;
};
