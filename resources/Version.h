// One place for the module's version: the VERSIONINFO resource reads it.
#pragma once
#define QN_VERSION_NUMBERS 1, 1, 0, 0
#define QN_VERSION_TEXT "1.1.0.0"
