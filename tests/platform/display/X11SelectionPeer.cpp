#include "tests/platform/display/X11SelectionPeer.h"

#include <algorithm>
#include <chrono>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto READ_TIMEOUT = std::chrono::seconds(5);

struct CAwaited {
    Window window;
    Atom property;
};

Bool IsAnswerOrChunk(Display*, XEvent* pEvent, XPointer pArgument)
{
    const auto* pAwaited = reinterpret_cast<const CAwaited*>(pArgument);
    if (pEvent->type == SelectionNotify)
        return pEvent->xselection.requestor == pAwaited->window;
    return pEvent->type == PropertyNotify && pEvent->xproperty.window == pAwaited->window
        && pEvent->xproperty.atom == pAwaited->property && pEvent->xproperty.state == PropertyNewValue;
}

// Takes a property's value whole and deletes it.
bool Take(Display* pDisplay, Window window, Atom property, Atom* pType, int* pFormat, std::vector<uint8_t>* pBytes,
    std::vector<long>* pLongs)
{
    unsigned long nItems = 0;
    unsigned long nAfter = 0;
    unsigned char* pData = nullptr;
    if (XGetWindowProperty(
            pDisplay, window, property, 0, 64L << 20, True, AnyPropertyType, pType, pFormat, &nItems, &nAfter, &pData)
            != Success
        || *pType == None)
        return false;
    if (*pFormat == 8)
        pBytes->assign(pData, pData + nItems);
    else if (*pFormat == 32)
        pLongs->assign(reinterpret_cast<long*>(pData), reinterpret_cast<long*>(pData) + nItems);
    XFree(pData);
    return true;
}

}

CSelectionPeer::CSelectionPeer(const std::string& strDisplay)
{
    m_pDisplay = XOpenDisplay(strDisplay.c_str());
    if (!m_pDisplay || pipe2(m_wakeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    XSetWindowAttributes attributes {};
    attributes.event_mask = PropertyChangeMask;
    m_window = XCreateWindow(m_pDisplay, DefaultRootWindow(m_pDisplay), 0, 0, 1, 1, 0, 0, InputOnly, CopyFromParent,
        CWEventMask, &attributes);
    XSync(m_pDisplay, False);
    m_thread = std::thread([this] { Run(); });
}

CSelectionPeer::~CSelectionPeer()
{
    if (m_thread.joinable()) {
        {
            std::lock_guard lock(m_mutex);
            m_bStop = true;
        }
        [[maybe_unused]] ssize_t nWritten = write(m_wakeFds[1], "x", 1);
        m_thread.join();
    }
    for (int fd : m_wakeFds) {
        if (fd >= 0)
            close(fd);
    }
    if (m_pDisplay)
        XCloseDisplay(m_pDisplay);
}

/***** The thread *****/

void CSelectionPeer::Post(std::function<void()> task)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    [[maybe_unused]] ssize_t nWritten = write(m_wakeFds[1], "x", 1);
}

void CSelectionPeer::RunThere(std::function<void()> task)
{
    std::promise<void> done;
    std::future<void> ran = done.get_future();
    Post([&] {
        task();
        done.set_value();
    });
    ran.wait();
}

void CSelectionPeer::Run()
{
    for (;;) {
        std::vector<std::function<void()>> tasks;
        {
            std::lock_guard lock(m_mutex);
            if (m_bStop)
                return;
            tasks.swap(m_tasks);
        }
        for (auto& task : tasks)
            task();
        while (XPending(m_pDisplay) > 0) {
            XEvent event {};
            XNextEvent(m_pDisplay, &event);
            Handle(event);
        }
        XFlush(m_pDisplay);
        pollfd descriptors[2] = { { ConnectionNumber(m_pDisplay), POLLIN, 0 }, { m_wakeFds[0], POLLIN, 0 } };
        poll(descriptors, 2, 50);
        char buffer[64];
        while (read(m_wakeFds[0], buffer, sizeof(buffer)) > 0) { }
    }
}

Atom CSelectionPeer::AtomOf(const std::string& strName)
{
    return XInternAtom(m_pDisplay, strName.c_str(), False);
}

std::string CSelectionPeer::NameOf(Atom atom)
{
    char* pszName = atom ? XGetAtomName(m_pDisplay, atom) : nullptr;
    std::string strName = pszName ? pszName : "";
    if (pszName)
        XFree(pszName);
    return strName;
}

void CSelectionPeer::Handle(XEvent& event)
{
    if (event.type == SelectionRequest) {
        Serve(event);
    } else if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) {
        auto it = std::find_if(m_outgoing.begin(), m_outgoing.end(), [&](const COutgoing& outgoing) {
            return outgoing.requestor == event.xproperty.window && outgoing.property == event.xproperty.atom;
        });
        if (it == m_outgoing.end())
            return;
        size_t nChunk = std::min(CHUNK, it->bytes.size() - it->nSent);
        XChangeProperty(m_pDisplay, it->requestor, it->property, it->type, 8, PropModeReplace,
            it->bytes.data() + it->nSent, static_cast<int>(nChunk));
        it->nSent += nChunk;
        if (nChunk == 0)
            m_outgoing.erase(it);
    }
}

void CSelectionPeer::Serve(const XEvent& event)
{
    const XSelectionRequestEvent& request = event.xselectionrequest;
    XSelectionEvent reply {};
    reply.type = SelectionNotify;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = None;
    if (request.selection == AtomOf("CLIPBOARD_MANAGER")) {
        if (request.target == AtomOf("SAVE_TARGETS")) {
            // Saves the owner's text, as a clipboard manager does before the owner goes.
            std::optional<CData> text = ReadNow(AtomOf("CLIPBOARD"), AtomOf("UTF8_STRING"));
            if (text) {
                std::lock_guard lock(m_mutex);
                m_savedText = std::string(text->bytes.begin(), text->bytes.end());
                reply.property = request.property;
            }
        }
    } else if (request.target == AtomOf("TARGETS")) {
        std::vector<long> targets { static_cast<long>(AtomOf("TARGETS")) };
        for (const auto& [target, data] : m_targets)
            targets.push_back(static_cast<long>(target));
        XChangeProperty(m_pDisplay, request.requestor, request.property, XA_ATOM, 32, PropModeReplace,
            reinterpret_cast<unsigned char*>(targets.data()), static_cast<int>(targets.size()));
        reply.property = request.property;
    } else if (m_eAnswers == EAnswers::TargetsOnly) {
        return; // silence
    } else if (auto it = m_targets.find(request.target); it != m_targets.end()) {
        const CData& data = it->second;
        Atom type = AtomOf(data.strType);
        if (data.bytes.size() > CHUNK) {
            XSelectInput(m_pDisplay, request.requestor, PropertyChangeMask);
            long nSize = static_cast<long>(data.bytes.size());
            XChangeProperty(m_pDisplay, request.requestor, request.property, AtomOf("INCR"), 32, PropModeReplace,
                reinterpret_cast<unsigned char*>(&nSize), 1);
            m_outgoing.push_back(COutgoing { request.requestor, request.property, type, data.bytes, 0 });
        } else {
            XChangeProperty(m_pDisplay, request.requestor, request.property, type, 8, PropModeReplace,
                data.bytes.data(), static_cast<int>(data.bytes.size()));
        }
        reply.property = request.property;
    }
    XEvent answer {};
    answer.xselection = reply;
    XSendEvent(m_pDisplay, request.requestor, False, NoEventMask, &answer);
    XFlush(m_pDisplay);
}

std::optional<CSelectionPeer::CData> CSelectionPeer::ReadNow(Atom selection, Atom target)
{
    Atom property = AtomOf("PEER_READ");
    XDeleteProperty(m_pDisplay, m_window, property);
    XConvertSelection(m_pDisplay, selection, target, property, m_window, CurrentTime);
    XFlush(m_pDisplay);
    CAwaited awaited { m_window, property };
    CData data;
    bool bChunked = false;
    auto deadline = Clock::now() + READ_TIMEOUT;
    while (Clock::now() < deadline) {
        XEvent event {};
        if (!XCheckIfEvent(m_pDisplay, &event, &IsAnswerOrChunk, reinterpret_cast<XPointer>(&awaited))) {
            pollfd descriptor { ConnectionNumber(m_pDisplay), POLLIN, 0 };
            poll(&descriptor, 1, 10);
            continue;
        }
        Atom type = None;
        int nFormat = 0;
        std::vector<uint8_t> bytes;
        std::vector<long> longs;
        if (event.type == SelectionNotify) {
            if (event.xselection.property == None)
                return std::nullopt;
            if (!Take(m_pDisplay, m_window, property, &type, &nFormat, &bytes, &longs))
                return std::nullopt;
            if (type != AtomOf("INCR")) {
                data.strType = NameOf(type);
                data.bytes = nFormat == 8 ? std::move(bytes) : std::vector<uint8_t>();
                if (nFormat == 32) {
                    // Atom lists come back as their bytes, one long each.
                    const auto* pBytes = reinterpret_cast<const uint8_t*>(longs.data());
                    data.bytes.assign(pBytes, pBytes + longs.size() * sizeof(long));
                }
                return data;
            }
            bChunked = true;
            data.bInChunks = true;
        } else if (bChunked) {
            if (!Take(m_pDisplay, m_window, property, &type, &nFormat, &bytes, &longs))
                return std::nullopt;
            if (bytes.empty())
                return data;
            data.strType = NameOf(type);
            data.bytes.insert(data.bytes.end(), bytes.begin(), bytes.end());
        }
        deadline = Clock::now() + READ_TIMEOUT;
    }
    return std::nullopt;
}

/***** The test's side *****/

void CSelectionPeer::Own(std::map<std::string, CData> targets, EAnswers eAnswers)
{
    RunThere([&] {
        m_targets.clear();
        for (auto& [strName, data] : targets)
            m_targets[AtomOf(strName)] = std::move(data);
        m_eAnswers = eAnswers;
        XSetSelectionOwner(m_pDisplay, AtomOf("CLIPBOARD"), m_window, CurrentTime);
        XSync(m_pDisplay, False);
    });
}

unsigned long CSelectionPeer::ClipboardOwner()
{
    Window owner = None;
    RunThere([&] { owner = XGetSelectionOwner(m_pDisplay, AtomOf("CLIPBOARD")); });
    return owner;
}

std::future<std::optional<CSelectionPeer::CData>> CSelectionPeer::Read(const std::string& strTarget)
{
    auto pPromise = std::make_shared<std::promise<std::optional<CData>>>();
    auto answer = pPromise->get_future();
    Post([this, pPromise, strTarget] { pPromise->set_value(ReadNow(AtomOf("CLIPBOARD"), AtomOf(strTarget))); });
    return answer;
}

std::future<std::vector<std::string>> CSelectionPeer::Targets()
{
    auto pPromise = std::make_shared<std::promise<std::vector<std::string>>>();
    auto answer = pPromise->get_future();
    Post([this, pPromise] {
        std::vector<std::string> names;
        std::optional<CData> list = ReadNow(AtomOf("CLIPBOARD"), AtomOf("TARGETS"));
        for (size_t i = 0; list && i + sizeof(long) <= list->bytes.size(); i += sizeof(long)) {
            long nAtom = 0;
            std::copy_n(list->bytes.data() + i, sizeof(long), reinterpret_cast<uint8_t*>(&nAtom));
            names.push_back(NameOf(static_cast<Atom>(nAtom)));
        }
        pPromise->set_value(names);
    });
    return answer;
}

void CSelectionPeer::BecomeClipboardManager()
{
    RunThere([&] {
        XSetSelectionOwner(m_pDisplay, AtomOf("CLIPBOARD_MANAGER"), m_window, CurrentTime);
        XSync(m_pDisplay, False);
    });
}

std::optional<std::string> CSelectionPeer::SavedText()
{
    std::lock_guard lock(m_mutex);
    return m_savedText;
}
