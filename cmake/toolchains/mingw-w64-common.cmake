# Shared by the two mingw-w64 toolchains; they set PLOVIX_MINGW_TRIPLE,
# CMAKE_SYSTEM_PROCESSOR and PLOVIX_WINE_LOADER first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: GoogleTest needs std::mutex, which the win32 model
# of Debian 12's compilers lacks. Programs link winpthread statically.
set(CMAKE_C_COMPILER ${PLOVIX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLOVIX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PLOVIX_MINGW_TRIPLE}-windres)

# With PLOVIX_MINGW_CLANG, clang compiles instead, as a second reader of
# every source, against the same headers, GCC's C++ library and linker.
# Debian's clang does not find that library under the GCC folder's name
# ("12-posix"), so it is named here, as GCC itself tells where it is.
if(PLOVIX_MINGW_CLANG)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
                    OUTPUT_VARIABLE plovix_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    get_filename_component(plovix_gcc_folder ${plovix_libgcc} DIRECTORY)
    set(CMAKE_C_COMPILER clang)
    set(CMAKE_CXX_COMPILER clang++)
    set(CMAKE_C_COMPILER_TARGET ${PLOVIX_MINGW_TRIPLE})
    set(CMAKE_CXX_COMPILER_TARGET ${PLOVIX_MINGW_TRIPLE})
    set(plovix_cxx_headers ${plovix_gcc_folder}/include/c++)
    set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${plovix_cxx_headers}
        ${plovix_cxx_headers}/${PLOVIX_MINGW_TRIPLE} ${plovix_cxx_headers}/backward)
    set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${plovix_gcc_folder} -pthread")
endif()

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
