# One place for the compiler flags every target of the program shares.
add_library(tarvenol_options INTERFACE)
target_compile_options(tarvenol_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
  -Wdouble-promotion -Wnon-virtual-dtor
  # Results must not depend on whether the compiler fuses a multiply and an add.
  -ffp-contract=off)
# Warnings are errors in CI and in the presets, where the compiler is known. A plain build
# (`cmake -B b && cmake --build b`, as a packager types it) only shows them: another compiler's
# version, or GCC's false alarms inside the standard library at -O3, must not stop it.
option(TARVENOL_WERROR "Treat warnings as errors" OFF)
if(TARVENOL_WERROR)
  target_compile_options(tarvenol_options INTERFACE -Werror)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # Position-independent code, for the Python module, inlines and optimises across functions
  # as the executables' code does: nothing of ours is replaced at load time.
  target_compile_options(tarvenol_options INTERFACE -fno-semantic-interposition)
endif()
if(CMAKE_BUILD_TYPE STREQUAL "Debug" OR TARVENOL_CHECKED)
  target_compile_definitions(tarvenol_options INTERFACE TARVENOL_CHECKED=1)
endif()
if(TARVENOL_SANITIZE)
  target_compile_options(tarvenol_options INTERFACE
    -fsanitize=${TARVENOL_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(tarvenol_options INTERFACE -fsanitize=${TARVENOL_SANITIZE})
endif()
if(TARVENOL_FUZZ)
  # Coverage for the fuzzer in every library, not only in the fuzz targets' own files.
  target_compile_options(tarvenol_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
