#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

// How the host, as a user, finds items in the Component Manager's tree.

std::string itemText(HWND tree, HTREEITEM item);

// A tree label names a component either by itself or as "Name [identifier]".
bool names(const std::string& label, const std::string& wanted);

// The item reached by naming one label per level from the root (null when absent).
HTREEITEM findPath(HWND tree, const std::vector<std::string>& path);
