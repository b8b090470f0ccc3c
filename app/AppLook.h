#pragma once

class QApplication;

// The window style chosen by the setting AppLook (32796-32804). Qt has no
// Office looks: each value gets the Fusion style with a palette of its
// colours, except 32798 (the desktop's own style).
namespace AppLook
{
void Apply(QApplication& app, int look);
} // namespace AppLook
