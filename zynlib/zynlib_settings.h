#ifndef ZYNLIB_SETTINGS_H
#define ZYNLIB_SETTINGS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif
