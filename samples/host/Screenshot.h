#pragma once
#include <windows.h>
#include <string>

// Saves what a window shows on the screen as a 24-bit BMP file. True on success.
bool saveWindowScreenshot(HWND window, const std::string& bmpPath);
