# Where an installed Zorvan puts its files, and the Debian package built from them with CPack.
# The documentation folder is named after the package, in lower case, as Debian names it.
set(CMAKE_INSTALL_DOCDIR share/doc/zorvan)
include(GNUInstallDirs)

install(FILES resources/desktop/zorvan.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/desktop/zorvan.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES resources/desktop/zorvan-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME zorvan.xml)
install(DIRECTORY resources/help/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/help OPTIONAL)
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples OPTIONAL
        FILES_MATCHING PATTERN "*.zrv" PATTERN "*.expect" PATTERN "*.roster")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvan)
set(CPACK_PACKAGE_VENDOR "Zorvan")
set(CPACK_PACKAGE_CONTACT "Zorvan developers <zorvan@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Teaching tool for the 6502: edit, assemble, run and step programs")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_PACKAGE_FILE_NAME_SUFFIX "")
include(CPack)
