#pragma once
#include <cstdio>

// The trace file <local app data>\Corvatek\Corvane Quillon CAPE-OPEN\<module base name>.trc
// gets one time-stamped entry per reported error; qnshow.txt in the temporary
// directory gets failed COM creations. Both are opened and closed per entry.

// Appends "MM/DD/YY HH:MM:SS: <module base name>: <text>\n" (cut at 2,399 characters).
// Never fails towards the caller: problems are shown to the user.
void writeTrace(const char* text);

// Opens path for appending, falling back to the TEMP directory (with a one-time
// relocation notice). Null when neither opens.
FILE* openTraceFile(const char* path);

// Appends the text and a line feed to %TEMP%\qnshow.txt.
void traceToTempFile(const char* text);

// Forgets the process-wide trace state (established directory, relocation notice
// already shown), as at module load. For tests that arrange folders themselves.
void resetTraceStateForTests();
