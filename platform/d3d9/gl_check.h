// The sanitizer build asks OpenGL for errors after every draw and presentation, and stops the
// program at the first with where it happened; other builds check nothing.
#pragma once

#ifdef KV_GL_CHECKS
void KvCheckGl(const char* where);
#else
inline void KvCheckGl(const char*) {}
#endif
