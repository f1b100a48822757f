// The native build's DirectInput 8: the system's own, at the interface version the mouse uses.
#pragma once

#include "platform/win32.h"

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>
