#include <QDir>
#include <gtest/gtest.h>
#include <string>
#include <windows.h>

// fenwir-cli shows UTF-8 in a console while it runs; the console's code page
// is its user's, and the next command in that window finds it as it was.
TEST(Console, TheCodePageIsLeftAsItWasFound)
{
    // A console of its own when it runs without one that takes a code page
    // (started with its output into pipes).
    if (GetConsoleOutputCP() == 0) {
        FreeConsole();
        ASSERT_TRUE(AllocConsole());
    }
    for (const UINT codePage : {932u, 437u}) {
        ASSERT_TRUE(SetConsoleOutputCP(codePage));
        std::wstring command = L"\"" +
                               QDir::toNativeSeparators(QStringLiteral(FENWIR_CLI)).toStdWString() +
                               L"\" --version";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD status = 1;
        GetExitCodeProcess(process.hProcess, &status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(status, 0u);
        EXPECT_EQ(GetConsoleOutputCP(), codePage);
    }
}
