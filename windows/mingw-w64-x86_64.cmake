# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers, for
# make windows (scripts/cross-sdl.sh builds SDL with the same file). Their
# -posix variants give the C++ library its threads through winpthreads.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VOMBA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VOMBA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VOMBA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VOMBA_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW tree and from the prefixes named
# in CMAKE_PREFIX_PATH (the cross-built SDL), never from the machine's own;
# programs (the compilers, Wine) from the machine. A prefix must be a root
# itself, or CMake would look for it inside the MinGW tree.
set(CMAKE_FIND_ROOT_PATH /usr/${VOMBA_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
