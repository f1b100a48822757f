// The few things OpenGL 3.3 core and OpenGL ES 3.0 do differently, each flavour in a file of
// its own (gl_flavour_desktop.cpp, gl_flavour_es.cpp) that the build chooses.
#pragma once

#include "platform/d3d9.h"
#include "platform/d3d9/opengl.h"
#include "platform/win32/gl_surface.h"

// The context the device asks the window layer for, and its name in messages.
extern const KvGlApi kKvGlApi;
extern const char* const kKvGlName;
// The first line(s) of every shader: the version, the precision ES asks for, and COLOR_BGRA,
// which says whether the vertex colour arrives with its channels as stored (B, G, R, A:
// the shader swaps them) or already ordered by OpenGL (desktop's GL_BGRA attribute size), and
// on ES W_OFF_EYE_PLANE, which keeps clip-space w off 0 for WebGL's software renderer.
extern const char* const kKvShaderHeader;
// The size argument of the vertex colour attribute.
extern const GLint kKvColorAttributeSize;
// The wrap mode for D3DTADDRESS_BORDER: ES 3.0 has no border, so its texels clamp to the edge.
extern const GLint kKvClampToBorder;
// Whether the context can draw: a version of the flavour's OpenGL this device needs.
bool KvGlVersionSupported();
// Loads ARGB texels (rows as stored) into `level` of the bound 2D texture, whole.
void KvGlTexImage(GLint level, GLsizei width, GLsizei height, const DWORD* texels);
void KvGlTexSubImage(GLint level, GLsizei width, GLsizei height, const DWORD* texels);
// Reads the bound framebuffer's pixels as ARGB, rows bottom to top.
void KvGlReadArgb(GLint x, GLint y, GLsizei width, GLsizei height, DWORD* pixels);
void KvGlDepthRange(float nearZ, float farZ);
void KvGlClearDepth(float depth);
