#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>

// How the property package dialog writes values into its lists.

// Significant digits of the number columns (molecular weight, boiling point).
inline constexpr int kDisplayDigits = 10;

// A double in the form of the Microsoft runtime's _gcvt: `digits` significant digits,
// fixed notation while the decimal exponent lies in -1 .. digits-1, else scientific
// with a signed exponent of at least three digits; trailing zeros of the fraction are
// dropped but the decimal point stays ("373.15", "100.", "0.", "1.5e-002").
// The runtime's own _gcvt differs between implementations, so the form is made here.
std::string gcvtText(double value, int digits = kDisplayDigits);

// Narrow text of a wide text (active code page), written into `out` (reused buffer).
void assignAnsi(std::string& out, const wchar_t* wide, UINT length);

// A text for a multi-line edit: every line feed not already preceded by a carriage
// return gets one, so that the control breaks the line there.
std::string withCarriageReturns(const std::string& text);
