#pragma once

// Creates the library's automation object by its ProgID through COM and prints the
// answers of a fresh object. Returns 0 on success.
int runServerDemo();
