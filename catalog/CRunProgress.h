#pragma once

// What a long catalog run shows while it works: one of the program's modeless
// progress dialogs, fed between units of work. The catalog layer sits below
// the windows, so it reaches the dialogs through this interface; the interface
// kit installs a factory at start-up (SetRunProgressFactory). Without one, a
// run shows nothing and is never stopped.
//
// A progress object lives for one run (or one pass of a run): made by
// CreateRunProgress, destroyed when the run ends, which takes the dialog down.
// Used from the user-interface thread only; the feeding calls pump the
// dialog's messages, so the user reaches its Cancel button through them.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <functional>
#include <memory>
#include <vector>

class CNodeRec;

// Which dialog a run shows.
enum class ERunProgressKind {
    Update,      // the update's three bars (A, B, C) and a status text
    Maintenance, // one bar and a status text; a stop is confirmed
    Operation,   // one bar and a status text, with item texts; a stop is confirmed
    Tree,        // a node path, a bar and a count of what was found
};

// What the dialog needs before it is made.
struct CRunProgressSetup {
    // Update: which steps the bars show (the place choice, 0 to 3) and whether
    // the mail stores are a step too.
    int nStepKind { 0 };
    BOOL bStepFlag { FALSE };
    // Operation: the item texts.
    std::vector<CString> itemTexts;
};

class CRunProgress {
public:
    // The bars of the update dialog, top to bottom; the other dialogs have BAR_A only.
    static constexpr int BAR_A = 0;
    static constexpr int BAR_B = 1;
    static constexpr int BAR_C = 2;

    // Takes the dialog down.
    virtual ~CRunProgress() = default;

    /* Texts. */

    // The dialog's window text.
    virtual void SetTitle(LPCTSTR pszTitle) = 0;
    // Shows a status text (a path is shortened to fit) and pumps. TRUE when a
    // stop was asked since the last feeding call; each request is reported once.
    virtual BOOL SetText(LPCTSTR pszText) = 0;
    // Tree: shows the node being searched, pumps; TRUE as SetText.
    virtual BOOL SetNode(const CNodeRec* pNode) = 0;
    // Tree: the count of what was found so far.
    virtual void SetCount(int nCount) = 0;

    /* Bars. */

    virtual void SetRange(int nBar, int nLow, int nHigh) = 0;
    virtual void SetStep(int nBar, int nStep) = 0;
    // Pumps, then advances the bar by its step.
    virtual void StepIt(int nBar) = 0;

    /* Stopping. */

    // Pumps; TRUE when a stop was asked since the last feeding call.
    virtual BOOL PumpAndTestCancel() = 0;
    // Plays the animation again after a question stopped it.
    virtual void StartAnimation() = 0;
    // Maintenance and Operation: TRUE once the user confirmed a stop.
    virtual BOOL IsCancelled() const = 0;
};

// Makes the dialog of a kind, owned by hOwner (the main window when null).
using CRunProgressFactory
    = std::function<std::unique_ptr<CRunProgress>(ERunProgressKind eKind, HWND hOwner, const CRunProgressSetup& setup)>;

// Installs the factory (an empty one restores the silent default).
void SetRunProgressFactory(CRunProgressFactory factory);
// A progress object of the kind: the installed factory's, or one that shows
// nothing and is never stopped. Never null.
std::unique_ptr<CRunProgress> CreateRunProgress(
    ERunProgressKind eKind, HWND hOwner = nullptr, const CRunProgressSetup& setup = {});
