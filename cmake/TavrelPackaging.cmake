# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT

# Installation and the Debian package.
#
# `cmake --install` lays out the programs, the icon, the desktop entry, the
# AppStream metadata, the manual pages, the shell completion and the user
# guide the way a desktop and a distribution expect them under the prefix;
# `make package` turns that layout into a .deb with a prefix of /usr.
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
# A stripped installation (the package's) also drops the compiler's
# .comment and .note sections, as Debian's own packaging tools do: they only
# name the compiler version.
find_program(TAVREL_OBJCOPY NAMES ${CMAKE_OBJCOPY} objcopy)
if(TAVREL_OBJCOPY)
    foreach(Program tavrel tavrel-sumup)
        install(CODE "
            if(CMAKE_INSTALL_DO_STRIP)
                execute_process(COMMAND \"${TAVREL_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${Program}\"
                    COMMAND_ERROR_IS_FATAL ANY)
            endif()")
    endforeach()
endif()

# The same SVG the windows carry as a resource; scalable, so one file serves
# every size the desktop asks for.
install(FILES ${PROJECT_SOURCE_DIR}/src/windows/tavrel.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
# The desktop entry and the AppStream metadata carry the program's
# reverse-DNS id, which the program also gives Qt as its desktop file name, so
# that a desktop matches its windows to the entry.
set(TAVREL_APP_ID org.tavrel.Tavrel)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${TAVREL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${TAVREL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

# The completion of tavrel-sumup's options for bash. bash-completion looks in
# share/bash-completion/completions of every data folder (XDG_DATA_DIRS:
# /usr/local/share and /usr/share), under the command's name.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tavrel-sumup.bash
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
        RENAME tavrel-sumup)

# The guide: everything in docs/ but the manual pages, at the top of the
# folder the program opens (docs/説明書.html becomes
# share/doc/tavrel/説明書.html). The folder is also the package's
# documentation folder, where Debian wants the copyright file and the
# changelog.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/
        DESTINATION ${TAVREL_DOCUMENTS_INSTALL_DIR}
        PATTERN man EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${TAVREL_DOCUMENTS_INSTALL_DIR})

# Manual pages and the changelog go compressed with gzip -9n (no name, no
# time stamp), as Debian wants them, so that the package holds the same
# bytes whenever it is built.
find_program(TAVREL_GZIP gzip REQUIRED)
set(TAVREL_PACKAGE_MAINTAINER "Tavrel developers <developers@tavrel.org>"
    CACHE STRING "Maintainer field of the Debian package (Name <address>)")
set(TAVREL_MAN_PAGES tavrel.1 tavrel-sumup.1)
set(TAVREL_COMPRESSED_DOCS "")
foreach(Page IN LISTS TAVREL_MAN_PAGES)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${Page}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/man/${Page} ${PROJECT_BINARY_DIR}/man/${Page}
        COMMAND ${TAVREL_GZIP} -9nf ${PROJECT_BINARY_DIR}/man/${Page}
        DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${Page}
        COMMENT "Compressing the manual page ${Page}"
        VERBATIM)
    list(APPEND TAVREL_COMPRESSED_DOCS ${PROJECT_BINARY_DIR}/man/${Page}.gz)
    install(FILES ${PROJECT_BINARY_DIR}/man/${Page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# The package's changelog, in Debian's form, from CHANGELOG.md.
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/CHANGELOG.md
            -DOUTPUT=${PROJECT_BINARY_DIR}/changelog -DPACKAGE=tavrel
            -DVERSION=${PROJECT_VERSION} "-DMAINTAINER=${TAVREL_PACKAGE_MAINTAINER}"
            -P ${PROJECT_SOURCE_DIR}/cmake/TavrelDebianChangelog.cmake
    COMMAND ${TAVREL_GZIP} -9nf ${PROJECT_BINARY_DIR}/changelog
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/TavrelDebianChangelog.cmake
    COMMENT "Making the package's changelog from CHANGELOG.md"
    VERBATIM)
list(APPEND TAVREL_COMPRESSED_DOCS ${PROJECT_BINARY_DIR}/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${TAVREL_DOCUMENTS_INSTALL_DIR})
add_custom_target(tavrel_compressed_docs ALL DEPENDS ${TAVREL_COMPRESSED_DOCS})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavrel developers")
set(CPACK_PACKAGE_CONTACT "${TAVREL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVREL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cash book and accounts for the treasurer of a small organisation")
# The long description: lines within 80 columns, as dpkg shows it.
set(CPACK_PACKAGE_DESCRIPTION
"Tavrel (ミロナ会計係) is for the treasurer of a neighbourhood association,
a club or a parents' association. It reads the four hand-kept CSV tables of
one fiscal year (chart of accounts with budgets, persons, counted balances,
cash-book journal), checks every row against its own rules and the other
tables, reports each rejected row with its line number, and writes eight
books as CSV files, among them the cash book, the per-person book and the
monthly trial balance with budget against actual.

The package holds the desktop program tavrel, the command-line front end
tavrel-sumup and the user guide. The program and its guide are in Japanese.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tavrel.org/")
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
