#pragma once

// For as long as it lives, standard output and error carry UTF-8 bytes as
// they are (on Windows: no CR added before LF, and a console shows UTF-8);
// the console is left as it was found, for the commands that run in it next.
class ConsoleSession
{
public:
    ConsoleSession();
    ~ConsoleSession();
    ConsoleSession(const ConsoleSession&) = delete;
    ConsoleSession& operator=(const ConsoleSession&) = delete;

private:
    unsigned m_codePage = 0; // the console's before, where there is one
};
