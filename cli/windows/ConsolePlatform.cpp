#include "Console.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// Output is the same bytes as on Linux, LF line ends included, so scripts
// read it alike; a console window is told the bytes are UTF-8.
void Console::Prepare()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}
