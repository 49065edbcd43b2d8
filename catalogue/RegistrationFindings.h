#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the registration check found for one component: errors (the component cannot
// be used) and warnings (it works, worse than it should), each one text saying what
// is wrong and what to do, in the order they were found.
struct Finding {
    bool isError;
    std::string text;
};

class Findings {
public:
    void error(std::string text) { all_.push_back({true, std::move(text)}); }
    void warning(std::string text) { all_.push_back({false, std::move(text)}); }
    // A key or value that is there but cannot be read (status: the registry's): an
    // error, since no host can read it either. what: "HKEY_CLASSES_ROOT\..." or a value of it.
    void unreadable(const std::string& what, LONG status);

    const std::vector<Finding>& all() const { return all_; }
    bool hasErrors() const;

private:
    std::vector<Finding> all_;
};

// A failure on one line, "<text> (<name>, 0x80040154)": the text of the thread's error
// object when the failing call left one (taken, so it is not mistaken for a later
// failure's), else the system's text for the code; the code's name when it has one.
// Without any text, "<name> (0x...)", or "failure (0x...)" for a code without a name.
std::string failureText(HRESULT code);
