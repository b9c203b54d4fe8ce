# 32-bit Windows (PE32), the platform Quillop was written for.
set(windows_processor i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
