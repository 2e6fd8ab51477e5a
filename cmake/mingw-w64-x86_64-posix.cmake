# Cross-builds for 64-bit Windows with Debian's mingw-w64, posix thread model
# (std::thread and friends come from winpthreads, linked in statically).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAMSK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAMSK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAMSK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAMSK_MINGW_TRIPLE}-windres)

# Libraries and headers come from the cross sysroot only; header-only
# packages that carry no binaries (CLI11) are found through the host's
# CMake package folders, see CMakeLists.txt.
set(CMAKE_FIND_ROOT_PATH /usr/${TAMSK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthreads linked in, so that each .exe imports
# only DLLs that ship with Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
