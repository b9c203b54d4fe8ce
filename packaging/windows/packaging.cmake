# The zip for Windows users: quillop.exe and its README.txt, named for the
# kind of Windows it is built for (win32 for PE32, win64 for x64).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(QUILLOP_WINDOWS_KIND win32)
else()
    set(QUILLOP_WINDOWS_KIND win64)
endif()
set(QUILLOP_VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS quillop RUNTIME DESTINATION .)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/README.txt DESTINATION .)

set(CPACK_PACKAGE_NAME quillop)
set(CPACK_PACKAGE_VENDOR "The Quillop developers")
set(CPACK_PACKAGE_FILE_NAME quillop-${PROJECT_VERSION}-${QUILLOP_WINDOWS_KIND})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR ZIP)
# The stripped program aligned for signing, and signed by scripts/release.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/prepare_program.cmake)
include(CPack)
