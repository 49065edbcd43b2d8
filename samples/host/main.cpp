#include <windows.h>
#include <cstdio>
int main() { std::puts("host"); return 0; }
