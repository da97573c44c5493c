# Settings every target of the project links to, as INTERFACE targets so no
# flag is set directory-wide. Warnings are errors only where the presets ask
# for it (CMAKE_COMPILE_WARNING_AS_ERROR), not for every consumer.

add_library(plovix_options INTERFACE)
target_compile_features(plovix_options INTERFACE cxx_std_17)
set_target_properties(plovix_options PROPERTIES CXX_EXTENSIONS OFF)
target_compile_options(plovix_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wconversion -Wsign-conversion
    # Assertion reports name files relative to src/, and the tests' failures
    # relative to the project, never the build machine's paths: the same
    # sources give the same programs in any folder. The last match wins.
    -fmacro-prefix-map=${PROJECT_SOURCE_DIR}/= -fmacro-prefix-map=${PROJECT_SOURCE_DIR}/src/=)

if(WIN32)
    target_compile_definitions(plovix_options INTERFACE
        WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0601 WINVER=0x0601)
    # Every program is one file that needs no DLL beyond those Windows ships;
    # what nothing calls is left out, and the same sources give the same bytes
    # (no link time stamp).
    target_compile_options(plovix_options INTERFACE -ffunction-sections -fdata-sections)
    target_link_options(plovix_options INTERFACE -static -static-libgcc -static-libstdc++
        -Wl,--gc-sections -Wl,--no-insert-timestamp)
endif()

if(PLOVIX_SANITIZE)
    target_compile_options(plovix_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(plovix_options INTERFACE -fsanitize=address,undefined)
endif()

# Fuzzing: the code under test is instrumented for libFuzzer's coverage and
# checked by both sanitizers; only the fuzz targets link libFuzzer, whose
# main drives them (plovix_fuzz_target).
if(PLOVIX_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR CMAKE_CROSSCOMPILING)
        message(FATAL_ERROR "PLOVIX_FUZZ needs a native clang; use the fuzz preset.")
    endif()
    set(fuzz_sanitizers -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(plovix_options INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined ${fuzz_sanitizers})
    target_link_options(plovix_options INTERFACE -fsanitize=address,undefined)
    add_library(plovix_fuzz_target INTERFACE)
    target_compile_options(plovix_fuzz_target INTERFACE
        -fsanitize=fuzzer,address,undefined ${fuzz_sanitizers})
    target_link_options(plovix_fuzz_target INTERFACE -fsanitize=fuzzer,address,undefined)
endif()
