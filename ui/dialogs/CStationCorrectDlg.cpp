#include "CStationCorrectDlg.h"

#include "OkCancelButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
// As the entry dialog's name fields take them.
constexpr int kNameLength = 20;

QLineEdit* NameField(const QString& text, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    // The limit is for typing: a longer name kept before is shown whole.
    edit->setMaxLength(std::max<int>(kNameLength, static_cast<int>(text.size())));
    edit->setText(text);
    edit->setMinimumWidth(220);
    return edit;
}

// A name as typed or pasted, without the tabs and line breaks it cannot keep.
QString Cleaned(const QString& text)
{
    QString cleaned = text;
    for (QChar& c : cleaned) {
        const auto category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            c = u' ';
    }
    return cleaned.trimmed();
}

bool Registered(const std::optional<StationNames>& database)
{
    return database && database->station != QStringLiteral("未登録");
}
} // namespace

QString CStationCorrectDlg::DatabaseText(const std::optional<StationNames>& database)
{
    if (!database)
        return QStringLiteral("（駅名情報データベースに接続できません）");
    if (!Registered(database))
        return QStringLiteral("未登録");
    QStringList details;
    for (const QString& name : {database->line, database->company})
        if (!name.isEmpty())
            details << name;
    return details.isEmpty()
               ? database->station
               : QStringLiteral("%1（%2）").arg(database->station, details.join(u'・'));
}

CStationCorrectDlg::CStationCorrectDlg(std::vector<Place> places, QWidget* parent)
    : QDialog(parent), m_places(std::move(places))
{
    setWindowTitle(QStringLiteral("駅名の訂正"));
    auto* layout = new QVBoxLayout(this);
    for (const Place& place : m_places) {
        // The fields open with the correction over the database's names.
        const StationNames registered =
            Registered(place.database) ? *place.database : StationNames{};
        const StationNames shown =
            place.correction ? place.correction->Over(registered) : registered;
        auto* box = new QGroupBox(place.title, this);
        auto* form = new QFormLayout(box);
        form->addRow(QStringLiteral("コード"), new QLabel(place.code.Text(), box));
        m_database.push_back(new QLabel(DatabaseText(place.database), box));
        form->addRow(QStringLiteral("データベース"), m_database.back());
        std::array<QLineEdit*, 3> edits = {NameField(shown.station, box),
                                           NameField(shown.line, box),
                                           NameField(shown.company, box)};
        form->addRow(place.code.IsBus() ? QStringLiteral("停留所名") : QStringLiteral("駅名"),
                     edits[0]);
        form->addRow(QStringLiteral("路線名"), edits[1]);
        form->addRow(QStringLiteral("会社名"), edits[2]);
        m_edits.push_back(edits);
        layout->addWidget(box);
    }
    auto* note = new QLabel(QStringLiteral("訂正は交通費情報の同じコードの行すべてと、"
                                           "これからのカード読込に使われます。\n"
                                           "名前を空にすると訂正を取り消します。"),
                            this);
    layout->addWidget(note);
    auto* buttons = OkCancelButtons(this);
    layout->addWidget(buttons);
    if (!m_edits.empty()) {
        m_edits.front()[0]->setFocus();
        m_edits.front()[0]->selectAll();
    }
}

std::vector<std::optional<StationNames>> CStationCorrectDlg::Result() const
{
    std::vector<std::optional<StationNames>> result;
    for (const auto& edits : m_edits) {
        const StationNames names{Cleaned(edits[0]->text()), Cleaned(edits[1]->text()),
                                 Cleaned(edits[2]->text())};
        result.push_back(names.station.isEmpty() ? std::nullopt
                                                 : std::optional<StationNames>(names));
    }
    return result;
}
