#pragma once
#include <string_view>

// Whether a Property Package Manager's ProgID names the maker's own property system:
// it contains "CVCOProperties" or "Corvane", in any letter case. Packages of such a
// manager offer the VLL flash request and have no custom view of their own.
bool namesOwnPropertySystem(std::string_view parentProgId);
