#include "BlockDecodeError.h"
#include "CardImage.h"
#include "CardReadJob.h"
#include "LineTable.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace
{
void Print(FILE* stream, const QString& text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

int Usage()
{
    Print(stderr, QStringLiteral("使い方: fenwir-cli decode カードイメージ\n"));
    return 2;
}

// Decodes a card image (JSON or NFC-tool dump) and prints its lines, oldest first.
int Decode(const QString& path)
{
    QString error;
    const auto image = CardImage::Load(path, &error);
    if (!image) {
        Print(stderr, error + QLatin1Char('\n'));
        return 1;
    }
    EntryLines lines;
    std::vector<CardHistoryRow> rows;
    CardInfo card{CardInfo::kRead, image->idm, image->pmm};
    CardReadJob job(lines, rows, card);
    LineTable table;
    std::int32_t previous = -1;
    try {
        for (auto block = image->history.rbegin(); block != image->history.rend(); ++block)
            table.Add(*job.DecodeBlock(*block, previous));
    } catch (const BlockDecodeError& e) {
        Print(stderr, path + QStringLiteral(": ") + QString::fromStdString(e.what()) + '\n');
        return 1;
    }
    Print(stdout,
          QStringLiteral("IDm: %1\n")
              .arg(QString::fromLatin1(
                  QByteArray(reinterpret_cast<const char*>(card.idm.data()), card.idm.size())
                      .toHex()
                      .toUpper())));
    Print(stdout, table.Text());
    Print(stdout, QStringLiteral("残高: %1円\n").arg(previous < 0 ? 0 : previous));
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("decode"))
        return Decode(args[1]);
    return Usage();
}
