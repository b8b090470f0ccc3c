#pragma once

// The program's own icon theme (SVGs under res/icons), behind the desktop
// theme's icons where those fit. A static library's resources must be
// brought in by hand.
namespace Icons
{
void Install();
} // namespace Icons
