#pragma once
// The PC/SC types, status codes and control codes: pcsc-lite's.
#include <PCSC/winscard.h>
#include <PCSC/reader.h>
