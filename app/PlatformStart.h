#pragma once

// What the system needs before the Qt application exists (the per-OS parts
// are in unix/ and windows/).
namespace PlatformStart
{
void BeforeApplication();
} // namespace PlatformStart
