// fenwir-make-layout OUT.fmt: writes the program's default claim form.
#include "DefaultLayout.h"
#include "FmtWriter.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: fenwir-make-layout OUT.fmt\n", stderr);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    const QByteArray bytes = WriteFmt(DefaultLayout());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
