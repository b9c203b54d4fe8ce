# Desktop integration and the Debian package, included from the top level
# so that CPack sees its settings.
include(GNUInstallDirs)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/org.quillop.Quillop.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/org.quillop.Quillop.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/src/res/icons/quillop.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/src/res/icons/quillop-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quillop.png)
endforeach()

set(PACKAGE_DOCS ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${PACKAGE_DOCS})
add_custom_command(
    OUTPUT ${PACKAGE_DOCS}/changelog.Debian.gz ${PACKAGE_DOCS}/quillop.1.gz
    COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/changelog > ${PACKAGE_DOCS}/changelog.Debian.gz
    COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/quillop.1 > ${PACKAGE_DOCS}/quillop.1.gz
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_CURRENT_LIST_DIR}/quillop.1)
add_custom_target(package_docs ALL DEPENDS ${PACKAGE_DOCS}/changelog.Debian.gz ${PACKAGE_DOCS}/quillop.1.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${PACKAGE_DOCS}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillop)
install(FILES ${PACKAGE_DOCS}/quillop.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillop.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME quillop)

set(CPACK_PACKAGE_NAME quillop)
set(CPACK_PACKAGE_VENDOR "The Quillop developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "installer for the Quenna Picture Vorn collection")
set(CPACK_PACKAGE_DESCRIPTION "Quillop installs eight multi-image brushes, the Quenna Picture Vorns, into
the Vorns folder of the paint program Corvane running in a Wine prefix, and
lists each of them in the folder's control file. It never overwrites a file
and never changes what the control file already holds.")
set(CPACK_PACKAGE_CONTACT "The Quillop developers <developers@quillop.org>")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
include(CPack)
