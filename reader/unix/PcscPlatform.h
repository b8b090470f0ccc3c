#pragma once
// The PC/SC types, status codes and control codes: pcsc-lite's.
#include <PCSC/reader.h>
#include <PCSC/winscard.h>
