// fenwir-make-layout OUT.fmt: writes the program's default claim form.
// fenwir-make-layout --bold-text OUT.txt: writes the texts it draws in bold,
// in UTF-8, for the print font's bold style.
#include "DefaultLayout.h"
#include "FmtWriter.h"

#include <QFile>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    const bool boldText = argc == 3 && std::strcmp(argv[1], "--bold-text") == 0;
    if (argc != 2 && !boldText) {
        std::fputs("usage: fenwir-make-layout OUT.fmt | --bold-text OUT.txt\n", stderr);
        return 2;
    }
    const char* path = argv[argc - 1];
    QFile file(QString::fromLocal8Bit(path));
    const QByteArray bytes =
        boldText ? BoldText(DefaultLayout()).toUtf8() : WriteFmt(DefaultLayout());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    return 0;
}
