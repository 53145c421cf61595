# Installation and the Debian package.
#
# The program goes to bin/, the default data folder to share/torvane/Dat as
# read-only defaults (the program copies them into the user's own folder on
# first start), and the desktop entry, icon and file type to the places the
# desktop looks in. Debian's shared-mime-info and desktop-file-utils pick the
# last two up through their own triggers.
include(GNUInstallDirs)

install(TARGETS torvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/Dat/ DESTINATION ${CMAKE_INSTALL_DATADIR}/torvane/Dat)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/torvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/torvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/torvane.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/torvane-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME torvane.xml)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VENDOR "Torvane")
set(CPACK_PACKAGE_CONTACT "Torvane <torvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "自動車整備の見積書・作業指示書・納品書")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # torvane_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), \
qt6-qpa-plugins, libjpeg62-turbo, libzip4, fonts-ipafont")
include(CPack)
