// The native build's D3DX utilities: the system's own.
#pragma once

#include "platform/d3d9.h"

#include <d3dx9.h>
