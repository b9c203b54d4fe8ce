# 64-bit Windows (PE32+), which Wine runs here.
set(windows_processor x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
