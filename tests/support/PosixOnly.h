#pragma once

#include <gtest/gtest.h>

// Ends a test that checks what only a POSIX system has (symbolic links the standard library
// makes, permission bits, /dev) as skipped on Windows, with the reason; elsewhere it does nothing.
#ifdef _WIN32
#define SETFOLIO_POSIX_ONLY(why) GTEST_SKIP() << "POSIX only: " << (why)
#else
#define SETFOLIO_POSIX_ONLY(why) static_cast<void>(why)
#endif
