#include "PlatformStart.h"

// Qt's defaults fit Linux as they are.
void PlatformStart::BeforeApplication() {}
