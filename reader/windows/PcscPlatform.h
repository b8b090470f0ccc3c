#pragma once
// The PC/SC types, status codes and control codes: the Windows SDK's, for
// winscard.dll (SCARD_CTL_CODE is the system's device control code there).
#include <windows.h>
#include <winscard.h>
