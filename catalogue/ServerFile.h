#pragma once
#include <string>

// The file behind a registered server, found as the system finds it.

// The file an InprocServer32 value (commandLine false) or a LocalServer32 command line
// names: environment variables expanded, surrounding quotes removed and, for a
// command line, the arguments after the program left off.
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
