#pragma once
// Drives the library's real modal dialogs (the Component Manager, the package dialog)
// from inside their own modal loops, with their controls' own messages.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "testkit/MessageBoxDriver.h"

namespace testkit {

class DialogDriver {
public:
    // Message boxes are answered with defaultButton unless a test queues an answer.
    explicit DialogDriver(int defaultButton = IDOK) : boxes_(defaultButton) {}
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // The boxes shown so far, and the answer to the next one.
    MessageBoxDriver& boxes() { return boxes_; }
    void answerNextBox(int button) { boxes_.answerNext(button); }

    // Called for every dialog that opens while the driven one runs (the Component
    // Manager over the package dialog, say). Without a handler they are cancelled.
    void onNestedDialog(std::function<void(HWND)> handler) { nestedHandler_ = std::move(handler); }
    // Captions of the nested dialogs, in order.
    const std::vector<std::string>& nestedCaptions() const { return nestedCaptions_; }

    // Runs show (a call that shows one dialog modally) and hands the dialog to drive
    // once it is initialised. After drive the dialog is cancelled, unless drive ended
    // it. A dialog still open 2 s after that Cancel, or 15 s after it opened, is a
    // failure of the test, naming it, and is ended with all this thread shows over it.
    // Returns what show returns.
    template <class Show>
    auto run(Show&& show, std::function<void(HWND)> drive)
    {
        dialog_ = nullptr;
        boxes_.onDialog([this, drive = std::move(drive)](HWND window) { opened(window, drive); });
        auto result = show();
        boxes_.onDialog(nullptr);
        dialog_ = nullptr;
        return result;
    }

private:
    void opened(HWND window, const std::function<void(HWND)>& drive);

    MessageBoxDriver boxes_;
    std::function<void(HWND)> nestedHandler_;
    std::vector<std::string> nestedCaptions_;
    HWND dialog_ = nullptr;
};

// Pumps this thread's messages until done() holds or timeLimitMs passes; returns done().
bool pumpUntil(const std::function<bool()>& done, UINT timeLimitMs = 5000);

}  // namespace testkit
