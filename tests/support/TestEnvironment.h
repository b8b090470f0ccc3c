#pragma once

#include <QString>

// Points the user's settings and folders at an empty home folder, and the
// local time at Tokyo's (the per-OS parts are in unix/ and windows/). Called
// before the Qt application exists.
void UsePrivateHomeAndTokyoTime(const QString& home);
// The name this system gives Tokyo's time zone (strftime's %Z).
QString TokyoZoneName();
