# Shared by the two mingw-w64 toolchains; they set PLOVIX_MINGW_TRIPLE,
# CMAKE_SYSTEM_PROCESSOR and PLOVIX_WINE_LOADER first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: GoogleTest needs std::mutex, which the win32 model
# of Debian 12's compilers lacks. Programs link winpthread statically.
set(CMAKE_C_COMPILER ${PLOVIX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLOVIX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PLOVIX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PLOVIX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the test programs through Wine. Debian keeps the loaders outside
# PATH as well as behind its "wine" wrapper.
find_program(PLOVIX_WINE NAMES ${PLOVIX_WINE_LOADER} PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(PLOVIX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PLOVIX_WINE})
endif()
