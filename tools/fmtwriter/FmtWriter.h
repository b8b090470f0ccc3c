#pragma once

#include "PrintFormat.h"

#include <QByteArray>

// The bytes of a .fmt file holding the layout, items in their list order.
QByteArray WriteFmt(const PrintFormat& format);
