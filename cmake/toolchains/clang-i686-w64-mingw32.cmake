# 32-bit Windows programs built by clang, for its warnings; not run.
set(PLOVIX_MINGW_CLANG ON)
set(PLOVIX_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(PLOVIX_WINE_LOADER wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
