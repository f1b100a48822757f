// The native build's window, message, keyboard and timer operations: the system's own.
#pragma once

#include <windows.h>
// Multimedia timer (timeGetTime).
#include <mmsystem.h>
