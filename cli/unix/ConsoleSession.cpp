#include "ConsoleSession.h"

// A terminal takes UTF-8 as it is.
ConsoleSession::ConsoleSession() = default;

ConsoleSession::~ConsoleSession() = default;
