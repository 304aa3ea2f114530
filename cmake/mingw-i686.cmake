# The product: 32-bit Windows programs.
set(MELVORA_TRIPLE i686-w64-mingw32)
set(MELVORA_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
