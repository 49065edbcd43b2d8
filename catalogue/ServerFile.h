#pragma once
#include <windows.h>

#include <string>

// The file behind a registered server, found as the system finds it.

// The file an InprocServer32 value (commandLine false) or a LocalServer32 command line
// names: environment variables expanded, surrounding quotes removed and, for a
// command line, the arguments after the program left off. An unquoted command line is
// read as CreateProcess reads it: the program is the shortest prefix before a blank
// that names a file (".exe" added to a name without an extension); when none does,
// the prefix up to ".exe", or else up to the first blank.
std::string serverFilePath(const std::string& value, bool commandLine);

// The path a .NET CodeBase URL ("file:///C:/Program%20Files/x.dll") names; a text
// that is not a file URL is taken as a path.
std::string codeBaseFilePath(const std::string& url);

// Whether path names mscoree.dll, the .NET runtime's loader: the component itself is
// then the assembly its CodeBase names.
bool isDotNetLoader(const std::string& path);

// Whether the file is there. A bare file name is looked for where the loader looks
// (the program's folder, the system folders, PATH).
bool serverFileExists(const std::string& path);

// What a server file's headers say. Only the headers are read: the DOS header's "MZ"
// and e_lfanew, then "PE\0\0" and the file header there.
struct ServerImage {
    enum Kind {
        Unread,      // not found, or it cannot be opened or read: nothing is known
        NotProgram,  // no PE headers: no loader runs it
        Program,     // a PE file for machine
    } kind = Unread;
    WORD machine = 0;  // IMAGE_FILE_HEADER.Machine: 0x8664 x64, 0x14C 32-bit x86
};
ServerImage readServerImage(const std::string& path);
