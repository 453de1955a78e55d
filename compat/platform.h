/* One include for the engine: the real Windows headers in the Windows build,
   our own minimal definitions natively.  Natively there is nothing from USER
   or GDI here: only integer types, bitmap records, movable memory blocks,
   string tables and the few constants the message method passes around. */
#ifndef COMPAT_PLATFORM_H
#define COMPAT_PLATFORM_H

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "native/win32_types.h"
#include "native/globalmem.h"
#include "native/stringtable.h"
#endif

#endif
