// UrlRecorder.exe <file> <address>: what the tests register as the program of a URL
// scheme of their own, so that the shell's "open" can be watched without a browser.
// It writes the address it was given into the file.
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    std::FILE* file = std::fopen(argv[1], "w");
    if (!file)
        return 1;
    std::fputs(argv[2], file);
    std::fclose(file);
    return 0;
}
