/* Object interfaces: this platform's subset lives in unknwn.h. */
#ifndef SORVEL_PLATFORM_OBJIDL_H
#define SORVEL_PLATFORM_OBJIDL_H
#include "unknwn.h"
#endif
