#pragma once
#include <windows.h>
#include <string>

// A string value of an open key, read as GetRegPath reads it: at most 2,046
// characters; empty for a missing value, a longer one or one that is not a string.
// Several values of one key are read with one open of the key.
std::string readRegistryText(HKEY key, const char* valueName);
