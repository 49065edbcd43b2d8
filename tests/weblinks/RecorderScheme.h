#pragma once
#include <windows.h>

#include <string>

// A URL scheme of its own ("qnrec" + 8 hex digits) registered for the lifetime of
// this object, whose "open" runs UrlRecorder.exe (beside the test program): the
// shell's opening of an address can be watched without starting a browser.
class RecorderScheme {
public:
    RecorderScheme();
    ~RecorderScheme();
    RecorderScheme(const RecorderScheme&) = delete;
    RecorderScheme& operator=(const RecorderScheme&) = delete;

    bool registered() const { return registered_; }
    const std::wstring& name() const { return name_; }
    // The address the recorder was started with; empty when it was not started within
    // a generous bound (the messages of this thread are pumped meanwhile).
    std::string waitForRecord() const;

private:
    std::wstring name_;
    std::wstring recordFile_;
    bool registered_ = false;
};
