#pragma once
// The Property Package Manager double lives with the other CAPE-OPEN doubles.
#include "testkit/CapeDoubles.h"
