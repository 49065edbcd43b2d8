#pragma once
#include <string>

// CAPE-OPEN versions as numbers: 0 none, 100 for 1.0, 110 for 1.1, 1000 "not
// supported"; hosts may also set 90 and 93.

// The number of a registered "CapeVersion" text: 100 or 110 when the whole text reads
// as 1.0 or 1.1 (1.10 too); otherwise 110 when it contains ".1", 100 when it contains
// "1.", and 110 for anything else, the empty text included.
long parseCOVersion(const std::string& text);

// "none", "1.0", "1.1", "not supported", or number / 100 with six decimals (93 gives
// "0.930000"), for the messages that name a component's version.
std::string coVersionText(long number);
