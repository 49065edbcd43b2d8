#pragma once
#include <string>

// Prints the version resource of a module file (company, description, versions).
// False when the file has none.
bool printVersionInfo(const std::string& path);
