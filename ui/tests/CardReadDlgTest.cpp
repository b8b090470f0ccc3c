#include "CCardReadDlg.h"
#include "CardDetector.h"

#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
// A reader with no card on it.
class EmptyReader : public CReaderMod
{
public:
    int Polling(CardId&, CardId&, std::uint16_t, std::uint8_t, std::uint8_t) override { return 0; }
};

// Runs f once the dialog's own first events (the detector's opening) are done.
void AfterOpening(QObject* context, std::function<void()> f)
{
    QTimer::singleShot(0, context, [context, f] { QTimer::singleShot(0, context, f); });
}
} // namespace

TEST(CardReadDlg, SaysWhatToDoCountsDownAndOpensCentredOnItsWindow)
{
    QWidget owner;
    owner.setGeometry(120, 80, 900, 560);
    owner.show();
    CCardReadDlg dialog(&owner);
    EmptyReader reader;
    CardId idm{};
    CardId pmm{};
    HistoryBlocks blocks;
    std::int64_t now = 0;
    CardDetector detector(reader, idm, pmm, blocks, 3, dialog, [&now] { return now; });
    int failed = 0;
    QObject::connect(&dialog, &CCardReadDlg::Failed, [&failed] { ++failed; });

    AfterOpening(&dialog, [&] {
        EXPECT_EQ(dialog.InstructionText(), "カードをリーダーにかざしてください");
        EXPECT_EQ(dialog.StatusText(), "カード検出中…");
        EXPECT_EQ(dialog.CountdownText(), "残り 3 秒");
        const QPoint offset = dialog.geometry().center() - owner.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
        now += 1000;
        detector.Tick();
        EXPECT_EQ(dialog.CountdownText(), "残り 2 秒");
        now += 2000;
        detector.Tick();
        EXPECT_TRUE(dialog.InFailureState());
        EXPECT_EQ(failed, 1);
        EXPECT_TRUE(dialog.InstructionText().isEmpty());
        EXPECT_TRUE(dialog.CountdownText().isEmpty());
        EXPECT_EQ(dialog.Button()->text(), "OK");
        const QPoint failedOffset = dialog.geometry().center() - owner.frameGeometry().center();
        EXPECT_LE(failedOffset.manhattanLength(), 2);
        dialog.Button()->click();
    });
    EXPECT_FALSE(dialog.Run(detector));
    EXPECT_EQ(detector.GetState(), CardDetector::State::Failed);
}
