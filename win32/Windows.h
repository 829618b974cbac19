#pragma once

// The system's header as the project takes it: the lean part, and no min and max macros to
// stand in the way of the standard library's.

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
