// The native build's Direct3D 9: the system's own.
#pragma once

#include "platform/win32.h"

#include <d3d9.h>
