#pragma once

class QApplication;

// The window style chosen by the setting AppLook (32796-32804). Qt has no
// Office looks: each value gets the Fusion style with a palette of its
// colours, except 32798 (the desktop's own style).
namespace AppLook
{
void Apply(QApplication& app, int look);
// Every text of the program is Japanese: where the desktop's font has no
// Japanese, Noto Sans CJK JP (when installed) is the program's font, so texts
// need no fallback font looked up and loaded for each size and weight.
void UseJapaneseFont(QApplication& app);
} // namespace AppLook
