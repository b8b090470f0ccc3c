#pragma once

// While the Qt application object is made, a fatal message from Qt (no
// display to connect to, no platform plugin to load) ends the program with
// status 1 and a word on what to do, instead of aborting with a core dump.
// Made before the application object; Release() once it stands.
class StartGuard
{
public:
    StartGuard();
    ~StartGuard();
    StartGuard(const StartGuard&) = delete;
    StartGuard& operator=(const StartGuard&) = delete;

    void Release();

    static constexpr int kExitStatus = 1;

private:
    bool m_installed = true;
};
