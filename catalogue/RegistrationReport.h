#pragma once
#include <span>
#include <string>

#include "catalogue/CategoryTable.h"

// The registration check of the CAPE-OPEN components on this machine: every class
// registered under each category that filter selects (categoryFilterTag bits, chosen
// as the Component Manager chooses its categories for the same filter), read in the
// registry view of 64-bit programs and in that of 32-bit programs. One finding a line,
//   <error|warning>: <ProgID, or the braced CLSID without one> [<category>]: <text>
// in category order, then "<N> components checked, <E> errors, <W> warnings.", where
// N counts each class once per category. Lines end with CR LF. Managers are created
// to read their package lists: the thread must be in an apartment. No box is shown.
std::string registrationReport(unsigned long filter);

// The same report over the categories given, in their order (a manager check for the
// entries whose filterFlag is the managers' one).
std::string registrationReport(std::span<const CategoryEntry> categories);
