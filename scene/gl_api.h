#pragma once
// OpenGL 1.1 and GLU for the portable scene files. On Windows the GL headers
// pull in <windows.h> unless the two calling-convention macros already exist;
// defining them here keeps the scene's drawing code free of the Win32 API.
#if defined(_WIN32)
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#endif
#endif
#include <GL/gl.h>
#include <GL/glu.h>
