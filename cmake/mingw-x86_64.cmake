# The same sources as 64-bit Windows programs, for hosts that cannot run
# 32-bit code (the tests run there under wine64).
set(MELVORA_TRIPLE x86_64-w64-mingw32)
set(MELVORA_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
