// The X11 display's clipboard: the program's clipboard bridged to the
// CLIPBOARD selection, for text and the program's registered formats.
//
// Owning: after the program changes its clipboard it takes the selection
// (OfferClipboard) and serves every request from what it offered: TARGETS,
// TIMESTAMP, SAVE_TARGETS, MULTIPLE, the text targets and each registered
// format under its own name. Data larger than one request goes in chunks
// (INCR). Another client taking the selection is reported, so that the
// program's clipboard drops what the desktop no longer has.
//
// Reading: XFixes tells of every new owner; its TARGETS are fetched once, in
// the background, so that the formats answer without a round trip. A read
// (ReadForeignClipboard) waits for this transfer's events only, up to
// ANSWER_TIMEOUT between the owner's answers, and at most TRANSFER_CAP bytes.
//
// Waiting: one thread at a time (m_awaitMutex) waits for an answer; the event
// loop sets aside for it what it waits for (m_awaited), so that it finds its
// events whichever thread read them from the connection.

#include "platform/display/X11Display.h"

#include "platform/display/X11DisplayInternal.h"
#include "platform/display/X11SelectionData.h"

#include <algorithm>

#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>
#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto ANSWER_TIMEOUT = std::chrono::seconds(2);    // between the owner's answers
constexpr auto HAND_OVER_TIMEOUT = std::chrono::seconds(1); // for the clipboard manager at the end
constexpr auto STALLED_TRANSFER = std::chrono::seconds(10); // a requestor that stopped taking chunks
constexpr size_t TRANSFER_CAP = size_t(64) << 20;           // bytes of one transfer, either way
constexpr long MAX_TARGETS = 1024;

Bool MatchesAwaited(Display*, XEvent* pEvent, XPointer pState)
{
    const auto* pX11 = reinterpret_cast<const CX11State*>(pState);
    return pX11->m_awaited && pX11->m_awaited(*pEvent) ? True : False;
}

// A property's whole value, deleted as it is read. False when it is missing,
// longer than nMaxBytes, or the server refused.
struct CTakenProperty {
    Atom type { None };
    int nFormat { 0 };
    std::vector<uint8_t> bytes;  // format 8
    std::vector<uint32_t> longs; // format 32
};

bool TakeProperty(Display* pDisplay, Window window, Atom property, size_t nMaxBytes, CTakenProperty* pTaken)
{
    unsigned long nItems = 0;
    unsigned long nAfter = 0;
    unsigned char* pData = nullptr;
    long nLongs = static_cast<long>(nMaxBytes / 4 + 1);
    if (XGetWindowProperty(pDisplay, window, property, 0, nLongs, True, AnyPropertyType, &pTaken->type,
            &pTaken->nFormat, &nItems, &nAfter, &pData)
            != Success
        || pTaken->type == None) {
        if (pData)
            XFree(pData);
        return false;
    }
    bool bWhole = nAfter == 0 && (pTaken->nFormat != 8 || nItems <= nMaxBytes);
    if (bWhole && pTaken->nFormat == 8)
        pTaken->bytes.assign(pData, pData + nItems);
    else if (bWhole && pTaken->nFormat == 32)
        for (unsigned long i = 0; i < nItems; ++i)
            pTaken->longs.push_back(static_cast<uint32_t>(reinterpret_cast<const unsigned long*>(pData)[i]));
    if (pData)
        XFree(pData);
    if (!bWhole)
        XDeleteProperty(pDisplay, window, property);
    return bWhole;
}

}

/***** Setting up *****/

void CX11State::OpenClipboard()
{
    XSetWindowAttributes attributes {};
    attributes.event_mask = PropertyChangeMask;
    m_selectionWindow
        = XCreateWindow(m_pDisplay, m_root, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent, CWEventMask, &attributes);
    constexpr long REQUEST_OVERHEAD = 64; // units of 4 bytes, beside the data
    m_nMaxChunk = static_cast<size_t>(std::max(XMaxRequestSize(m_pDisplay) - REQUEST_OVERHEAD, 1024L)) * 4;
    int nFixesError = 0;
    if (XFixesQueryExtension(m_pDisplay, &m_nFixesEventBase, &nFixesError))
        XFixesSelectSelectionInput(m_pDisplay, m_selectionWindow, m_atoms.CLIPBOARD,
            XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask
                | XFixesSelectionClientCloseNotifyMask);
    else
        m_nFixesEventBase = -1;
    m_foreignOwner = XGetSelectionOwner(m_pDisplay, m_atoms.CLIPBOARD);
    if (m_foreignOwner)
        AskForeignTargets();
}

/***** Waiting for another client *****/

std::optional<XEvent> CX11State::AwaitEvent(std::unique_lock<std::mutex>& lock, Clock::time_point deadline)
{
    for (;;) {
        if (m_bLost)
            return std::nullopt;
        if (!m_awaitedEvents.empty()) {
            XEvent event = m_awaitedEvents.front();
            m_awaitedEvents.pop_front();
            return event;
        }
        XEvent event {};
        if (XCheckIfEvent(m_pDisplay, &event, &MatchesAwaited, reinterpret_cast<XPointer>(this)))
            return event;
        auto now = Clock::now();
        if (now >= deadline)
            return std::nullopt;
        // Short naps: another thread may read the answer off the connection meanwhile.
        auto nap = std::min<Clock::duration>(deadline - now, std::chrono::milliseconds(10));
        pollfd descriptor { ConnectionNumber(m_pDisplay), POLLIN, 0 };
        lock.unlock();
        poll(&descriptor, 1, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(nap).count()));
        lock.lock();
    }
}

Time CX11State::ServerTime(std::unique_lock<std::mutex>& lock)
{
    Window window = m_selectionWindow;
    Atom property = m_atoms._ARCHIVORA_TIMESTAMP;
    m_awaited = [window, property](const XEvent& event) {
        return event.type == PropertyNotify && event.xproperty.window == window && event.xproperty.atom == property;
    };
    XChangeProperty(m_pDisplay, window, property, XA_INTEGER, 32, PropModeAppend, nullptr, 0);
    XFlush(m_pDisplay);
    std::optional<XEvent> event = AwaitEvent(lock, Clock::now() + ANSWER_TIMEOUT);
    m_awaited = nullptr;
    m_awaitedEvents.clear();
    return event ? event->xproperty.time : CurrentTime;
}

/***** Owning the selection *****/

bool CX11State::ConvertForRequestor(Window requestor, Atom target, Atom property)
{
    if (target == m_atoms.TARGETS) {
        std::vector<long> targets { static_cast<long>(m_atoms.TARGETS), static_cast<long>(m_atoms.TIMESTAMP),
            static_cast<long>(m_atoms.MULTIPLE), static_cast<long>(m_atoms.SAVE_TARGETS) };
        for (const auto& [offered, offer] : m_offers)
            targets.push_back(static_cast<long>(offered));
        XChangeProperty(m_pDisplay, requestor, property, XA_ATOM, 32, PropModeReplace,
            reinterpret_cast<const unsigned char*>(targets.data()), static_cast<int>(targets.size()));
        return true;
    }
    if (target == m_atoms.TIMESTAMP) {
        long nTime = static_cast<long>(m_ownedSince);
        XChangeProperty(m_pDisplay, requestor, property, XA_INTEGER, 32, PropModeReplace,
            reinterpret_cast<const unsigned char*>(&nTime), 1);
        return true;
    }
    if (target == m_atoms.SAVE_TARGETS) {
        // Asked by a clipboard manager that saved our targets: an empty answer.
        XChangeProperty(m_pDisplay, requestor, property, m_atoms.NULL_TYPE, 32, PropModeReplace, nullptr, 0);
        return true;
    }
    auto it = m_offers.find(target);
    if (it == m_offers.end())
        return false;
    const x11::COffer& offer = it->second;
    if (offer.data->size() <= m_nMaxChunk) {
        XChangeProperty(m_pDisplay, requestor, property, offer.type, 8, PropModeReplace, offer.data->data(),
            static_cast<int>(offer.data->size()));
        return true;
    }
    // Too large for one request: the size first, then a chunk each time the requestor deletes the property.
    XSelectInput(m_pDisplay, requestor, PropertyChangeMask);
    long nSize = static_cast<long>(offer.data->size());
    XChangeProperty(m_pDisplay, requestor, property, m_atoms.INCR, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(&nSize), 1);
    m_outgoing.push_back(
        x11::COutgoingTransfer { requestor, property, offer.type, offer.data, 0, false, Clock::now() });
    return true;
}

void CX11State::ServeRequest(const XSelectionRequestEvent& request)
{
    auto now = Clock::now();
    std::erase_if(m_outgoing,
        [&](const x11::COutgoingTransfer& transfer) { return now - transfer.lastProgress > STALLED_TRANSFER; });
    XSelectionEvent reply {};
    reply.type = SelectionNotify;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = None;
    // Old clients name no property: the target is the property then.
    Atom property = request.property != None ? request.property : request.target;
    bool bInTime = request.time == CurrentTime || m_ownedSince == CurrentTime || request.time >= m_ownedSince;
    if (request.selection == m_atoms.CLIPBOARD && !m_offers.empty() && bInTime) {
        if (request.target == m_atoms.MULTIPLE) {
            // Pairs of target and property; a target that cannot be given gets None for its property.
            std::vector<uint32_t> pairs
                = X11Longs(ReadProperty(request.requestor, property, MAX_TARGETS * 2), m_atoms.ATOM_PAIR);
            if (request.property != None && !pairs.empty() && pairs.size() % 2 == 0) {
                std::vector<long> answered;
                for (size_t i = 0; i < pairs.size(); i += 2) {
                    bool bDone = ConvertForRequestor(request.requestor, pairs[i], pairs[i + 1]);
                    answered.push_back(static_cast<long>(pairs[i]));
                    answered.push_back(bDone ? static_cast<long>(pairs[i + 1]) : None);
                }
                XChangeProperty(m_pDisplay, request.requestor, property, m_atoms.ATOM_PAIR, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(answered.data()), static_cast<int>(answered.size()));
                reply.property = property;
            }
        } else if (ConvertForRequestor(request.requestor, request.target, property)) {
            reply.property = property;
        }
    }
    XEvent event {};
    event.xselection = reply;
    XSendEvent(m_pDisplay, request.requestor, False, NoEventMask, &event);
}

void CX11State::ContinueTransfer(const XPropertyEvent& event)
{
    auto it = std::find_if(m_outgoing.begin(), m_outgoing.end(), [&](const x11::COutgoingTransfer& transfer) {
        return transfer.requestor == event.window && transfer.property == event.atom;
    });
    if (it == m_outgoing.end() || event.state != PropertyDelete)
        return;
    x11::COutgoingTransfer& transfer = *it;
    size_t nChunk = std::min(m_nMaxChunk, transfer.data->size() - transfer.nSent);
    XChangeProperty(m_pDisplay, transfer.requestor, transfer.property, transfer.type, 8, PropModeReplace,
        transfer.data->data() + transfer.nSent, static_cast<int>(nChunk));
    transfer.nSent += nChunk;
    transfer.lastProgress = Clock::now();
    if (nChunk > 0)
        return;
    // The empty chunk written: done. The requestor's window is left alone once nothing of ours goes there.
    Window requestor = transfer.requestor;
    m_outgoing.erase(it);
    bool bMore = std::any_of(m_outgoing.begin(), m_outgoing.end(),
        [&](const x11::COutgoingTransfer& other) { return other.requestor == requestor; });
    if (!bMore && requestor != m_settingsOwner)
        XSelectInput(m_pDisplay, requestor, NoEventMask);
}

/***** Another owner *****/

void CX11State::AskForeignTargets()
{
    XDeleteProperty(m_pDisplay, m_selectionWindow, m_atoms._ARCHIVORA_TARGETS);
    XConvertSelection(
        m_pDisplay, m_atoms.CLIPBOARD, m_atoms.TARGETS, m_atoms._ARCHIVORA_TARGETS, m_selectionWindow, CurrentTime);
}

void CX11State::TakeForeignTargets(const XSelectionEvent& event)
{
    m_foreignTargets.clear();
    m_foreignFormats.clear();
    CTakenProperty taken;
    if (event.property == None || !TakeProperty(m_pDisplay, m_selectionWindow, event.property, MAX_TARGETS * 4, &taken)
        || taken.nFormat != 32 || taken.longs.empty() || (taken.type != XA_ATOM && taken.type != m_atoms.TARGETS))
        return;
    m_foreignTargets.assign(taken.longs.begin(), taken.longs.end());
    const Atom TEXT_TARGETS[] = { m_atoms.UTF8_STRING, m_atoms.TEXT_PLAIN_UTF8, XA_STRING, m_atoms.TEXT };
    const Atom PROTOCOL_TARGETS[]
        = { m_atoms.TARGETS, m_atoms.TIMESTAMP, m_atoms.MULTIPLE, m_atoms.SAVE_TARGETS, m_atoms.INCR };
    bool bText = false;
    std::vector<Atom> named;
    for (Atom target : m_foreignTargets) {
        if (std::find(std::begin(TEXT_TARGETS), std::end(TEXT_TARGETS), target) != std::end(TEXT_TARGETS))
            bText = true;
        else if (target != None
            && std::find(std::begin(PROTOCOL_TARGETS), std::end(PROTOCOL_TARGETS), target)
                == std::end(PROTOCOL_TARGETS))
            named.push_back(target);
    }
    if (bText)
        m_foreignFormats.emplace_back("text");
    std::vector<char*> names(named.size(), nullptr);
    if (!named.empty() && XGetAtomNames(m_pDisplay, named.data(), static_cast<int>(named.size()), names.data())) {
        for (char* pszName : names) {
            if (pszName)
                m_foreignFormats.emplace_back(pszName);
            XFree(pszName);
        }
    }
}

bool CX11State::ReadTarget(std::unique_lock<std::mutex>& lock, Atom target, Atom* pType, std::vector<uint8_t>* pData)
{
    Window window = m_selectionWindow;
    Atom property = m_atoms._ARCHIVORA_SELECTION;
    Atom clipboard = m_atoms.CLIPBOARD;
    m_awaited = [=](const XEvent& event) {
        if (event.type == SelectionNotify)
            return event.xselection.requestor == window && event.xselection.selection == clipboard
                && event.xselection.target == target;
        return event.type == PropertyNotify && event.xproperty.window == window && event.xproperty.atom == property
            && event.xproperty.state == PropertyNewValue;
    };
    m_awaitedEvents.clear();
    XDeleteProperty(m_pDisplay, window, property);
    XConvertSelection(m_pDisplay, clipboard, target, property, window, CurrentTime);
    XFlush(m_pDisplay);

    CIncrAssembler chunks(TRANSFER_CAP);
    bool bChunked = false;
    bool bDone = false;
    auto deadline = Clock::now() + ANSWER_TIMEOUT;
    while (std::optional<XEvent> event = AwaitEvent(lock, deadline)) {
        if (event->type == SelectionNotify) {
            if (bChunked)
                continue;
            CTakenProperty taken;
            if (event->xselection.property == None
                || !TakeProperty(m_pDisplay, window, event->xselection.property, TRANSFER_CAP, &taken))
                break;
            if (taken.type == m_atoms.INCR) {
                // Deleting the property (done) asks for the first chunk.
                bChunked = true;
                if (taken.nFormat != 32 || taken.longs.empty()
                    || chunks.Announce(taken.longs.front()) == CIncrAssembler::EStep::Failed)
                    break;
                deadline = Clock::now() + ANSWER_TIMEOUT;
                continue;
            }
            if (taken.nFormat != 8)
                break;
            *pType = taken.type;
            *pData = std::move(taken.bytes);
            bDone = true;
            break;
        }
        // A new chunk; before the chunks began, this is the answer's own property being written.
        if (!bChunked)
            continue;
        CTakenProperty taken;
        if (!TakeProperty(m_pDisplay, window, property, TRANSFER_CAP, &taken)
            || (taken.nFormat != 8 && !taken.longs.empty()))
            break;
        if (!taken.bytes.empty())
            *pType = taken.type;
        if (chunks.Append(taken.bytes) != CIncrAssembler::EStep::More) {
            bDone = chunks.State() == CIncrAssembler::EStep::Done;
            *pData = chunks.Take();
            break;
        }
        deadline = Clock::now() + ANSWER_TIMEOUT;
    }
    m_awaited = nullptr;
    m_awaitedEvents.clear();
    if (!m_bLost)
        XDeleteProperty(m_pDisplay, window, property);
    return bDone;
}

/***** Events *****/

EClipboardEvent CX11State::HandleClipboardEvent(const XEvent& event)
{
    if (m_awaited && m_awaited(event)) {
        m_awaitedEvents.push_back(event);
        return EClipboardEvent::Handled;
    }
    switch (event.type) {
    case SelectionRequest:
        if (event.xselectionrequest.owner != m_selectionWindow)
            return EClipboardEvent::NotClipboards;
        ServeRequest(event.xselectionrequest);
        return EClipboardEvent::Handled;
    case SelectionClear: {
        const XSelectionClearEvent& clear = event.xselectionclear;
        if (clear.window != m_selectionWindow)
            return EClipboardEvent::NotClipboards;
        // A notice older than our ownership is about an earlier one.
        bool bCurrent = clear.time == CurrentTime || m_ownedSince == CurrentTime || clear.time >= m_ownedSince;
        if (clear.selection != m_atoms.CLIPBOARD || m_offers.empty() || !bCurrent)
            return EClipboardEvent::Handled;
        m_offers.clear();
        return EClipboardEvent::TakenFromProgram;
    }
    case SelectionNotify:
        if (event.xselection.requestor != m_selectionWindow)
            return EClipboardEvent::NotClipboards;
        if (event.xselection.target == m_atoms.TARGETS && event.xselection.selection == m_atoms.CLIPBOARD) {
            TakeForeignTargets(event.xselection);
            return EClipboardEvent::FormatsChanged;
        }
        // A late answer to a read that gave up.
        if (event.xselection.property != None)
            XDeleteProperty(m_pDisplay, m_selectionWindow, event.xselection.property);
        return EClipboardEvent::Handled;
    case PropertyNotify:
        if (event.xproperty.window == m_selectionWindow)
            return EClipboardEvent::Handled;
        if (std::none_of(m_outgoing.begin(), m_outgoing.end(),
                [&](const x11::COutgoingTransfer& transfer) { return transfer.requestor == event.xproperty.window; }))
            return EClipboardEvent::NotClipboards;
        ContinueTransfer(event.xproperty);
        return EClipboardEvent::Handled;
    default:
        break;
    }
    if (m_nFixesEventBase < 0 || event.type != m_nFixesEventBase + XFixesSelectionNotify)
        return EClipboardEvent::NotClipboards;
    const auto& notice = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
    if (notice.selection != m_atoms.CLIPBOARD)
        return EClipboardEvent::Handled;
    Window owner = notice.subtype == XFixesSetSelectionOwnerNotify ? notice.owner : None;
    m_foreignTargets.clear();
    m_foreignFormats.clear();
    m_foreignOwner = owner == m_selectionWindow ? None : owner;
    if (m_foreignOwner)
        AskForeignTargets();
    return EClipboardEvent::FormatsChanged;
}

/***** At the end *****/

void CX11State::HandOverClipboard()
{
    if (m_bLost || m_offers.empty())
        return;
    Window manager = XGetSelectionOwner(m_pDisplay, m_atoms.CLIPBOARD_MANAGER);
    std::vector<long> textTargets;
    for (Atom target : { m_atoms.UTF8_STRING, m_atoms.TEXT_PLAIN_UTF8, static_cast<Atom>(XA_STRING), m_atoms.TEXT }) {
        if (m_offers.count(target))
            textTargets.push_back(static_cast<long>(target));
    }
    if (!manager || textTargets.empty())
        return;
    Atom property = m_atoms._ARCHIVORA_SELECTION;
    XChangeProperty(m_pDisplay, m_selectionWindow, property, XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(textTargets.data()), static_cast<int>(textTargets.size()));
    XConvertSelection(
        m_pDisplay, m_atoms.CLIPBOARD_MANAGER, m_atoms.SAVE_TARGETS, property, m_selectionWindow, CurrentTime);
    XFlush(m_pDisplay);
    // Serves the manager's requests until it says it has saved them.
    auto deadline = Clock::now() + HAND_OVER_TIMEOUT;
    while (!m_bLost && Clock::now() < deadline) {
        while (!m_bLost && XPending(m_pDisplay) > 0) {
            XEvent event {};
            XNextEvent(m_pDisplay, &event);
            if (event.type == SelectionNotify && event.xselection.selection == m_atoms.CLIPBOARD_MANAGER)
                return;
            HandleClipboardEvent(event);
        }
        XFlush(m_pDisplay);
        pollfd descriptor { ConnectionNumber(m_pDisplay), POLLIN, 0 };
        poll(&descriptor, 1, 10);
    }
}

/***** The window layer's calls *****/

void CX11Display::OfferClipboard(const std::vector<CClipboardItem>& items)
{
    CX11State& state = *m_pState;
    std::lock_guard await(state.m_awaitMutex);
    std::unique_lock lock(state.m_mutex);
    if (state.m_bLost)
        return;
    const CX11Atoms& atoms = state.m_atoms;
    if (items.empty()) {
        // Nothing shared: the desktop must not keep offering the old payload, but another owner stays.
        if (!state.m_offers.empty())
            XSetSelectionOwner(state.m_pDisplay, atoms.CLIPBOARD, None, CurrentTime);
        state.m_offers.clear();
        XFlush(state.m_pDisplay);
        return;
    }
    std::map<Atom, x11::COffer> offers;
    for (const CClipboardItem& item : items) {
        if (item.strFormat == "text") {
            std::string_view text(reinterpret_cast<const char*>(item.data.data()), item.data.size());
            std::string strUtf8 = SelectionTextOf(text);
            std::string strLatin1 = Latin1Of(strUtf8);
            auto pUtf8 = std::make_shared<const std::vector<uint8_t>>(strUtf8.begin(), strUtf8.end());
            offers[atoms.UTF8_STRING] = x11::COffer { atoms.UTF8_STRING, pUtf8 };
            offers[atoms.TEXT_PLAIN_UTF8] = x11::COffer { atoms.TEXT_PLAIN_UTF8, pUtf8 };
            offers[atoms.TEXT] = x11::COffer { atoms.UTF8_STRING, pUtf8 };
            offers[XA_STRING] = x11::COffer { XA_STRING,
                std::make_shared<const std::vector<uint8_t>>(strLatin1.begin(), strLatin1.end()) };
        } else {
            Atom target = XInternAtom(state.m_pDisplay, item.strFormat.c_str(), False);
            offers[target] = x11::COffer { target, std::make_shared<const std::vector<uint8_t>>(item.data) };
        }
    }
    Time time = state.ServerTime(lock);
    if (state.m_bLost)
        return;
    XSetSelectionOwner(state.m_pDisplay, atoms.CLIPBOARD, state.m_selectionWindow, time);
    if (XGetSelectionOwner(state.m_pDisplay, atoms.CLIPBOARD) != state.m_selectionWindow) {
        state.m_offers.clear(); // a newer owner holds it
        return;
    }
    state.m_offers = std::move(offers);
    state.m_ownedSince = time;
    state.m_foreignOwner = None;
    state.m_foreignTargets.clear();
    state.m_foreignFormats.clear();
}

bool CX11Display::ForeignClipboardFormats(std::vector<std::string>* pFormats)
{
    CX11State& state = *m_pState;
    std::lock_guard lock(state.m_mutex);
    if (state.m_bLost || !state.m_foreignOwner)
        return false;
    *pFormats = state.m_foreignFormats;
    return true;
}

bool CX11Display::ReadForeignClipboard(const std::string& strFormat, std::vector<BYTE>* pData)
{
    CX11State& state = *m_pState;
    std::lock_guard await(state.m_awaitMutex);
    std::unique_lock lock(state.m_mutex);
    if (state.m_bLost || !state.m_foreignOwner)
        return false;
    const CX11Atoms& atoms = state.m_atoms;
    const auto& offered = state.m_foreignTargets;
    Atom target = None;
    if (strFormat == "text") {
        // The first text target the owner lists, by preference; UTF-8 when its list did not come.
        for (Atom candidate : { atoms.UTF8_STRING, atoms.TEXT_PLAIN_UTF8, static_cast<Atom>(XA_STRING), atoms.TEXT }) {
            if (std::find(offered.begin(), offered.end(), candidate) != offered.end()) {
                target = candidate;
                break;
            }
        }
        if (target == None)
            target = atoms.UTF8_STRING;
    } else {
        target = XInternAtom(state.m_pDisplay, strFormat.c_str(), False);
    }
    Atom type = None;
    std::vector<uint8_t> bytes;
    if (!state.ReadTarget(lock, target, &type, &bytes))
        return false;
    if (strFormat != "text") {
        if (type != target)
            return false;
        *pData = std::move(bytes);
        return true;
    }
    if (type != atoms.UTF8_STRING && type != atoms.TEXT_PLAIN_UTF8 && type != XA_STRING)
        return false;
    std::string strText = ClipboardTextOf(bytes, type == XA_STRING);
    pData->assign(strText.begin(), strText.end());
    return true;
}
