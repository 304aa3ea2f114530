# Shared by the toolchain files: mingw-w64 with posix threads, statically
# linked so that no DLL stands beside the executables. MELVORA_TRIPLE and
# MELVORA_PROCESSOR are set by the including file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MELVORA_PROCESSOR})

set(CMAKE_C_COMPILER ${MELVORA_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MELVORA_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MELVORA_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MELVORA_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Test programs run under Wine through the project's wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
