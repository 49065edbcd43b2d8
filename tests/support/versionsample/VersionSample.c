/* A module that holds only a version resource; it exports one function so that the
   linker produces a normal DLL. */
__declspec(dllexport) int versionSampleMarker(void)
{
    return 37;
}
