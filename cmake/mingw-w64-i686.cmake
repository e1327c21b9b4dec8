# Cross-compiling the Windows program on Linux with MinGW-w64 (i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(Q308_MINGW_PREFIX i686-w64-mingw32)
# The posix flavour carries the whole C++ standard library; the top
# CMakeLists links it statically, so no runtime DLL travels with the program.
find_program(CMAKE_CXX_COMPILER NAMES ${Q308_MINGW_PREFIX}-g++-posix ${Q308_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${Q308_MINGW_PREFIX}-gcc-posix ${Q308_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${Q308_MINGW_PREFIX}-windres REQUIRED)

# Doubles in SSE registers, as on x86-64: the x87 unit's wider registers
# would round some results differently from every other build.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

set(CMAKE_FIND_ROOT_PATH /usr/${Q308_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
