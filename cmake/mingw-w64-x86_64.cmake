# Cross-building for 64-bit Windows with Debian's mingw-w64 (the posix-threads variant, which
# std::thread and std::mutex need). Used by scripts/windows-check.sh with SETFOLIO_CORE_ONLY.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and packages come from the mingw tree (and the folder the script stages
# header-only packages in), never from the build machine's own /usr.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${SETFOLIO_CROSS_STAGING})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SETFOLIO_CROSS_STAGING)

# The C++ runtime and the threads library linked in: the test executables run on their own,
# without the compiler's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
