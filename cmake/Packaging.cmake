# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package: `cpack -G DEB` in a release build folder writes teiler_<version>_<arch>.deb
# with everything `cmake --install` puts under /usr, plus the manual page, the changelog and the
# copyright file that a Debian package carries. The instrumented builds are not packaged.
if(TEILER_SANITIZE OR TEILER_FUZZ)
  return()
endif()

# Manual page and changelog go in compressed, without a time stamp in the gzip header, so that
# the same sources give the same package.
find_program(TEILER_GZIP gzip REQUIRED)
set(TEILER_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
set(TEILER_MANPAGE_GZ ${TEILER_PACKAGING_DIR}/teiler.1.gz)
set(TEILER_CHANGELOG_GZ ${TEILER_PACKAGING_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${TEILER_MANPAGE_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TEILER_PACKAGING_DIR}
  COMMAND sh -c "'${TEILER_GZIP}' -9nc '${PROJECT_SOURCE_DIR}/data/teiler.1' > '${TEILER_MANPAGE_GZ}'"
  DEPENDS ${PROJECT_SOURCE_DIR}/data/teiler.1
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_command(
  OUTPUT ${TEILER_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TEILER_PACKAGING_DIR}
  COMMAND sh -c "'${TEILER_GZIP}' -9nc '${PROJECT_SOURCE_DIR}/packaging/changelog' > '${TEILER_CHANGELOG_GZ}'"
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the changelog"
  VERBATIM)
add_custom_target(teiler_packaging_files ALL DEPENDS ${TEILER_MANPAGE_GZ} ${TEILER_CHANGELOG_GZ})

install(FILES ${TEILER_MANPAGE_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TEILER_CHANGELOG_GZ} packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# A stripped install (CPACK_STRIP_FILES, `cmake --install --strip`) also drops the compiler's
# version notes from the program, as Debian's own packages do.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/teiler\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()")

# The changelog names the version of the package; a new project version needs a new entry.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog TEILER_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT TEILER_CHANGELOG_TOP MATCHES "^teiler \\(${PROJECT_VERSION}\\) ")
  message(WARNING "packaging/changelog starts with '${TEILER_CHANGELOG_TOP}', "
                  "not with an entry for version ${PROJECT_VERSION}")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME teiler)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "die Entwickler von Teiler")
set(CPACK_PACKAGE_CONTACT "die Entwickler von Teiler <teiler@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories in the package are 0755 whatever the umask of the one who builds it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps (the X11 platform plugin comes with libqt6gui6), and
# the window's fixed layout is measured in the Liberation fonts; Qt's own texts (context menus,
# dialogs) are German with qt6-translations-l10n.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "teaching tool about the divisors of the numbers 1 to 1000
Teiler shows the numbers 1 to 500 or 501 to 1000 on a very wide canvas as a
number line, one number per column. From the menu it writes into every column
the proper divisors as a skyline, the divisor count T(n), the sum S(n) of the
proper divisors or the abundance S(n)-n. A search marks every n with
a*S(n) = b*n + c, a yellow sheet shows prime factorizations, and a button walks
aliquot sequences (220, 284, 220). The user interface is in German.

Lernprogramm über die Teiler der Zahlen von 1 bis 1000: Zahlenstrahl,
Teiler als Skyline, Teileranzahl T(n), Teilersumme S(n) und S(n)-n, Suche
nach a*S(n) = b*n + c mit Trefferliste, Primfaktorzerlegung und aliquote
Folgen.")

include(CPack)
