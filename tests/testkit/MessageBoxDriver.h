#pragma once
#include <windows.h>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// What the user saw of one message box.
struct ShownBox {
    HWND owner = nullptr;
    std::string ownerCaption;  // read while the box was up
    std::string caption;
    std::string text;
    LONG exStyle = 0;
    bool hasIcon = false;
    std::vector<int> buttons;  // control ids present, in the order IDOK, IDCANCEL, ... IDYES, IDNO, ...

    // Shown without an owner and above all windows (MB_SYSTEMMODAL).
    bool topmost() const { return (exStyle & WS_EX_TOPMOST) != 0; }
};

// Watches the calling thread through a CBT hook while it lives: every message box
// that activates is recorded and answered with the next queued button (or the
// default). Other dialogs are handed to the dialog handler, if one is set, which
// drives them with their own messages. The boxes are real: nothing is replaced.
// What cannot be answered as the test meant (a dialog without a handler, a box
// without the button chosen, any box when the default is kNobodyExpects) fails the
// running test and is closed with the button that ends a question (Cancel, Abort, No,
// else its last), or a dialog with Cancel and, 2 s later, for good: nothing waits.
class MessageBoxDriver {
public:
    static constexpr int kNobodyExpects = 0;
    explicit MessageBoxDriver(int defaultButton = IDOK);
    ~MessageBoxDriver();
    MessageBoxDriver(const MessageBoxDriver&) = delete;
    MessageBoxDriver& operator=(const MessageBoxDriver&) = delete;

    // The button to press on the next box (queued in order).
    void answerNext(int button) { answers_.push_back(button); }
    // Called once for every dialog (not a message box) when it activates.
    void onDialog(std::function<void(HWND)> handler) { dialogHandler_ = std::move(handler); }
    // Called for every message box while it is up, before it is answered.
    void onBox(std::function<void(HWND)> handler) { boxHandler_ = std::move(handler); }

    const std::vector<ShownBox>& boxes() const { return boxes_; }
    size_t count() const { return boxes_.size(); }
    const ShownBox& last() const { return boxes_.back(); }
    // The boxes' texts, in the order shown.
    std::vector<std::string> texts() const
    {
        std::vector<std::string> all;
        for (const ShownBox& box : boxes_)
            all.push_back(box.text);
        return all;
    }
    void clear() { boxes_.clear(); }

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    void inspect(HWND window);

    HHOOK hook_ = nullptr;
    int defaultButton_;
    std::deque<int> answers_;
    std::vector<ShownBox> boxes_;
    std::vector<HWND> seenDialogs_;
    std::function<void(HWND)> dialogHandler_;
    std::function<void(HWND)> boxHandler_;
    MessageBoxDriver* previous_ = nullptr;
};
