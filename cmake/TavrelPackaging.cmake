# Installation and the Debian package.
#
# `cmake --install` lays out the programs, the icon, the desktop entry and the
# user guide the way a desktop expects them under the prefix; `make package`
# turns that layout into a .deb with a prefix of /usr.
include(GNUInstallDirs)

# The program looks for its guide in <prefix>/share/doc/tavrel/ (compiled into
# tavrel_shell as TAVREL_INSTALLED_DOCUMENTS), so the guide goes exactly
# there: not into CMAKE_INSTALL_DOCDIR, whose last part is the project name
# "Tavrel", and not under another data root.
if(NOT CMAKE_INSTALL_DATAROOTDIR STREQUAL "share")
    message(FATAL_ERROR "CMAKE_INSTALL_DATAROOTDIR is \"${CMAKE_INSTALL_DATAROOTDIR}\", but the "
                        "program looks for its guide in <prefix>/share/doc/tavrel/")
endif()
set(TAVREL_DOCUMENTS_INSTALL_DIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/tavrel")

install(TARGETS tavrel tavrel-sumup
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The same SVG the windows carry as a resource; scalable, so one file serves
# every size the desktop asks for.
install(FILES ${PROJECT_SOURCE_DIR}/src/windows/tavrel.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tavrel.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)

# The guide: everything in docs/, at the top of the folder the program opens
# (docs/説明書.html becomes share/doc/tavrel/説明書.html). The folder is also
# the package's documentation folder, where Debian wants the copyright file.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/
        DESTINATION ${TAVREL_DOCUMENTS_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${TAVREL_DOCUMENTS_INSTALL_DIR})

# The Debian package.
set(TAVREL_PACKAGE_MAINTAINER "${TAVREL_COMPANY_NAME} <tavrel@example.org>"
    CACHE STRING "Maintainer field of the Debian package (Name <address>)")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${TAVREL_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "${TAVREL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVREL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cash-book aggregation for a small organisation's treasurer")
set(CPACK_PACKAGE_DESCRIPTION
"Tavrel reads the four hand-kept CSV tables of one fiscal year (chart of
accounts with budgets, persons, balances, cash-book journal), checks every
row against its own rules and the other tables, reports each rejected row
with its line number, and writes eight books as CSV files, among them the
cash book, the per-person book and the monthly trial balance.

小さな団体の会計係のための金銭出納の集計ツールです（ミロナ会計係）。

The package holds the desktop program tavrel, the command-line front end
tavrel-sumup and the Japanese user guide.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# The package installs under the prefix the programs were built for, so that
# the guide lands where tavrel looks for it (make package builds with /usr).
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
# Folders the package creates are 0755 whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)

# dpkg-shlibdeps (package dpkg-dev) finds the shared libraries the programs
# link: Qt 6 Core, Gui and Widgets, the C++ runtime. It cannot see what Qt
# loads at run time, so that is named here:
# - qt6-qpa-plugins: Qt's platform plugins; libqt6gui6 only recommends it, and
#   a system that installs without recommends would lack it;
# - libqt6svg6: the image and icon-engine plugins that draw the program's
#   icon, an SVG;
# - fonts-noto-cjk: the Japanese font that the windows ask for in place of
#   Meiryo; without it, Japanese text falls back to whatever font is there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, fonts-noto-cjk")

include(CPack)
