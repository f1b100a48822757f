// Direct3D's comparison functions, blend factors and operations, texture addressing and
// filtering, and primitive types as their OpenGL counterparts.
#pragma once

#include "platform/d3d9/opengl.h"

#include "platform/d3d9.h"

GLenum KvDepthFunction(DWORD function);
GLenum KvBlendFactor(DWORD blend);
GLenum KvBlendEquation(DWORD operation);
GLint KvWrap(DWORD address);
GLint KvMinFilter(DWORD minFilter, DWORD mipFilter);
// The OpenGL mode of a primitive type and the vertices `count` primitives need; false for an
// unknown type.
bool KvPrimitive(D3DPRIMITIVETYPE type, UINT count, GLenum& mode, UINT& vertices);
