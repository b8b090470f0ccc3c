#pragma once

#include <QString>

// Line names as users know them. The community station list cuts names
// short ("東海道本", "山手") and carries the subways' construction numbers
// ("4号線丸ノ内", "1号"); claims show "東海道本線", "山手線", "丸ノ内線",
// "御堂筋線". Rules: a table of reviewed exceptions first (nicknames that are
// the line's public name, main lines named "本", entries that name no line);
// then the number is dropped ("N号線X" -> "X"), and "線" is added to a name
// that does not end as a whole name does (線, 鉄道, ライン, ケーブル...).
class LineNames
{
public:
    static QString Known(const QString& company, const QString& line);
};
