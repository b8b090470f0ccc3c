// Every save of a user's file under a file-size limit: the save reports the
// failure and the old file keeps every byte. The documents are small, so the
// bytes would sit in a write buffer until the very end.
#include "AppSettings.h"
#include "ApplyHistory.h"
#include "CCorvaneDoc.h"
#include "ClaimRules.h"
#include "EntrySamples.h"
#include "HistoryFile.h"
#include "LineStations.h"
#include "PdfExport.h"
#include "StationCorrections.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace
{
// Files may grow to `bytes` only while the object lives; writing past that
// fails with EFBIG instead of killing the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_old{};
    void (*m_handler)(int);
};

struct Writer {
    const char* name;
    // The file the writer replaces, relative to the test folder.
    const char* file;
    std::function<bool(CCorvaneDoc&, AppSettings&, const QString& path, QString* error)> save;
};

const Writer kWriters[] = {
    {"claim", "claim.ent",
     [](CCorvaneDoc& doc, AppSettings&, const QString& path, QString* error) {
         return doc.Save(path, error);
     }},
    {"application history", "ApplyHistory/Apply.hst",
     [](CCorvaneDoc&, AppSettings& settings, const QString&, QString* error) {
         ApplyHistory history(settings);
         ApplyRecord record{1'777'777'777, 420, {}};
         return history.Record("snapshot", record, error);
     }},
    // The snapshot cannot be written: no record, and Apply.hst is untouched.
    {"snapshot", "ApplyHistory/Apply.hst",
     [](CCorvaneDoc& doc, AppSettings&, const QString&, QString*) {
         return doc.RecordApplication(ClaimedLines(doc.Lines())) ||
                doc.History().Records().size() != 1; // the one record it had
     }},
    {"csv", "claim.csv",
     [](CCorvaneDoc& doc, AppSettings& settings, const QString& path, QString*) {
         return doc.Data().WriteCsv(settings, path);
     }},
    {"pdf", "claim.pdf",
     [](CCorvaneDoc& doc, AppSettings&, const QString& path, QString* error) {
         return RenderClaimToPdf(doc.Layout(), ClaimedLines(doc.Lines()), {},
                                 QDateTime::currentDateTime(), {}, path, nullptr, error);
     }},
};
} // namespace

TEST(SaveFailure, EveryWriterKeepsTheOldFileByteForByte)
{
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        QTemporaryDir dir;
        AppSettings settings;
        settings.DefaultPath = dir.path();
        settings.CsvOutputItem = QStringLiteral("2,5,8,9,11,12");
        CCorvaneDoc doc(settings);
        doc.NewDocument();
        doc.ReplaceLines(SampleLines(2));

        const QString path = dir.filePath(QString::fromLatin1(writer.file));
        QDir().mkpath(QFileInfo(path).path());
        // A history the writers take as whole; any other file is 64 bytes.
        const QByteArray old =
            QString::fromLatin1(writer.file).endsWith(".hst")
                ? HistoryFile::Serialize(
                      {{{1, 2, QStringLiteral("/a/Apply261001-090000.ent")}}, {}})
                : QByteArray(64, 'x');
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        QString error;
        bool saved = true;
        {
            const FileSizeLimit limit(old.size() + 16);
            saved = writer.save(doc, settings, path, &error);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(ReadAll(path), old);
        // No temporary file is left behind either.
        EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
            << QDir(QFileInfo(path).path())
                   .entryList(QDir::Files | QDir::Hidden)
                   .join(' ')
                   .toStdString();
    }
}

TEST(SaveFailure, TheClaimStaysModifiedAndTheMessageNamesTheFile)
{
    QTemporaryDir dir;
    AppSettings settings;
    CCorvaneDoc doc(settings);
    doc.ReplaceLines(SampleLines(1));
    doc.SetMarks({{0, false}}, QStringLiteral("untick"));
    const QString path = dir.filePath("claim.ent");
    QString error;
    {
        const FileSizeLimit limit(16);
        EXPECT_FALSE(doc.Save(path, &error));
    }
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

// A station correction whose table cannot be written changes no line and
// leaves no step to undo; the user is told which file failed.
TEST(SaveFailure, AStationCorrectionThatCannotBeKeptChangesNothing)
{
    QTemporaryDir dir;
    AppSettings settings;
    settings.DefaultPath = dir.path();
    QFile::remove(StationCorrections::DefaultPath());
    CCorvaneDoc doc(settings);
    doc.ReplaceLines(SampleLines(3));
    QStringList problems;
    QObject::connect(&doc, &CCorvaneDoc::CorrectionsProblem,
                     [&](const QString& text) { problems << text; });
    bool corrected = true;
    {
        const FileSizeLimit full(8);
        corrected = doc.CorrectStations(
            {{StationCode::Rail(1, 37, 12), StationNames{"東京駅", "", ""}, std::nullopt}});
    }
    EXPECT_FALSE(corrected);
    EXPECT_EQ(doc.UndoStack().count(), 0);
    EXPECT_EQ(LineStations::NamesAt(*doc.Lines()[0], LineStations::Side::Entry).station, "東京");
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("StationCorrections.json")) << problems[0].toStdString();
    QFile::remove(StationCorrections::DefaultPath());
}
