# 64-bit Windows programs built by clang, for its warnings; not run.
set(PLOVIX_MINGW_CLANG ON)
set(PLOVIX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(PLOVIX_WINE_LOADER wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
