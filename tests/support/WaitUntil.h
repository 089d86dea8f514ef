#pragma once

// Waiting in a test for what another thread, process or server brings about:
// the condition is looked at every 10 ms until it holds or a deadline passes
// that is generous enough for a slow, loaded machine (a sanitizer build on
// two busy cores). A test waits for a condition, never for a fixed time.

#include <chrono>
#include <functional>
#include <thread>

// True once the condition holds; false when it still does not after `timeout`.
inline bool WaitUntil(
    const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(30))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
