# Cross-build for 64-bit Windows with Debian's mingw-w64 compilers
# (g++-mingw-w64-x86-64). Everything is linked statically: a mingw program
# that needs libstdc++ or libwinpthread DLLs at run time does not start on a
# machine without them, and says nothing about why.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VENUECHECK_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix thread model gives the full C++ library; -static takes its
# thread support in too.
set(CMAKE_C_COMPILER ${VENUECHECK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VENUECHECK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VENUECHECK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VENUECHECK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# zlib comes from libz-mingw-w64-dev, which ships both libz.a and an import
# library: take the static one.
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# The release program ships without its symbol table.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
