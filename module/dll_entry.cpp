// The DLL entry point. The module has no C runtime to start, and nothing of
// its own to do on attach or detach: all its state is static data.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
