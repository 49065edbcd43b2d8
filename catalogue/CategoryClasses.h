#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Hands visit every class that the system's component categories manager lists as
// implementing catid, one at a time, in the manager's order. A CATID text without
// "{" lists nothing. When the manager cannot be created (createInterface has shown
// why) or gives no enumerator, nothing is visited. server: null or empty for the
// local machine.
void forEachClassOfCategory(const std::wstring& catid, const wchar_t* server,
                            const std::function<void(const CLSID&)>& visit);
