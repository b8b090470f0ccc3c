#include "Console.h"

// A terminal takes UTF-8 as it is.
void Console::Prepare() {}
