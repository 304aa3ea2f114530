# The product: 32-bit Windows programs.
set(MELVORA_TRIPLE i686-w64-mingw32)
set(MELVORA_PROCESSOR i686)
# SSE2 arithmetic, as in the 64-bit build: the x87 unit's extended precision
# would let the same sources compute different doubles in the two builds.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
