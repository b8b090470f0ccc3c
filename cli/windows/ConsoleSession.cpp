#include "ConsoleSession.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// Output is the same bytes as on Linux, LF line ends included, so scripts
// read it alike; a console window is told the bytes are UTF-8. The code page
// belongs to the console, not to this program: it is set back on the way out.
ConsoleSession::ConsoleSession() : m_codePage(GetConsoleOutputCP())
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (m_codePage != 0)
        SetConsoleOutputCP(CP_UTF8);
}

ConsoleSession::~ConsoleSession()
{
    std::fflush(stdout);
    std::fflush(stderr);
    if (m_codePage != 0)
        SetConsoleOutputCP(m_codePage);
}
