#pragma once
#include <windows.h>
#include <oleauto.h>
#include <functional>
#include <string>

// The elements of the one-dimensional arrays a property package returns, as the
// dialog can use them. Packages are expected to return texts and doubles; anything
// else is passed on as Other and is never read as a type it does not have.
struct ArrayElement {
    enum class Kind { Text, Number, Other };
    Kind kind = Kind::Other;
    BSTR text = nullptr;  // Kind::Text: still owned by the array
    double number = 0;    // Kind::Number
};

// How many elements a walk of the array visits: 0 for a VARIANT without a
// one-dimensional array.
size_t arrayElementCount(const VARIANT& array);

// Visits the elements from the lower bound upwards until visit returns false or the
// elements end. Text and double arrays are read with SetGet's checked walk; the
// texts and doubles inside an array of VARIANTs count as such; every other element
// (and every element of an array of another type) is Other. A VARIANT without an
// array, or with one of more dimensions, has no elements. Nothing is reported.
void forEachArrayElement(const VARIANT& array, const std::function<bool(const ArrayElement&)>& visit);

// The text a list shows for an element: a text converted to the active code page,
// a number in gcvtText form, nothing for anything else. Written into out (reused).
void elementDisplayText(const ArrayElement& element, std::string& out);
