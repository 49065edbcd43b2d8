#pragma once
#include <string>

// The About text as the information panel shows it: every backslash followed by the
// letter n becomes a line feed, then the text is expanded as a message-format text
// without arguments.
std::string aboutDisplayText(const std::string& about);

// The message-format escapes of FormatMessage, expanded without arguments: %n is a
// line break (CR LF), %r a carriage return, %t a tab, %0 ends the text, and %% %. %!
// and "% " stand for the character after the percent sign. An insert (%1 to %99,
// with its !format! if it has one) has no argument to take: it is kept as written. A
// final lone percent sign is kept too.
std::string expandMessageEscapes(const std::string& text);
