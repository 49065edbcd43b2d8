#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <string_view>

#include "support/WideText.h"

// Narrow (ANSI code page) texts of the object become BSTRs at the interface.
// A new BSTR of the text; an empty text gives an empty, non-null BSTR. Raises
// std::bad_alloc when the system has no memory for it.
BSTR newBstr(std::string_view narrow);
// The same, but an empty text gives a null BSTR.
BSTR newBstrOrNull(std::string_view narrow);
