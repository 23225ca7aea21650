# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads); the test programs run
# under Wine through cmake/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DRX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DRX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DRX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${DRX_MINGW_PREFIX}-windres)
set(CMAKE_AR ${DRX_MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${DRX_MINGW_PREFIX}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${DRX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A static runtime: the programs then need only the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest and gtest_discover_tests run the .exe files through Wine with a prefix in the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
