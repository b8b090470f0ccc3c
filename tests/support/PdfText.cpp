#include "PdfText.h"

#include <QProcess>
#include <QStandardPaths>

QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList PdfFonts(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdffonts"), {pdf});
    process.waitForFinished(60000);
    // Two heading lines, then a font a line, its name first.
    QStringList names;
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    for (qsizetype i = 2; i < lines.size(); ++i)
        if (const QString name = lines[i].section(QLatin1Char(' '), 0, 0); !name.isEmpty())
            names << name;
    return names;
}

bool CanReadPdfText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}
