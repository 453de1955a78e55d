#ifndef ZYNLIB_COLOR_H
#define ZYNLIB_COLOR_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif
