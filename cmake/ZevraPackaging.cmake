# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
# What a Debian installation expects around the programs (copyright, changelog,
# manual pages, bash completion, AppStream metainfo) and the CPack settings
# that turn an installation into zevra_<version>_<arch>.deb:
#   cmake --build build --target package      or      scripts/package
set(ZEVRA_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(ZEVRA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zevra)
set(ZEVRA_PACKAGE_VERSION ${PROJECT_VERSION})

find_program(ZEVRA_GZIP gzip REQUIRED)

# Debian wants manual pages and the changelog compressed, reproducibly (-n:
# no name or time stamp in the header).
function(zevra_install_gzipped source destination name)
  set(out ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${ZEVRA_GZIP} -9nc ${source} > ${out}
    DEPENDS ${source} VERBATIM)
  string(MAKE_C_IDENTIFIER ${name} target)
  add_custom_target(zevra_gz_${target} ALL DEPENDS ${out})
  install(FILES ${out} DESTINATION ${destination})
endfunction()

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
configure_file(${ZEVRA_PACKAGING_DIR}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)

# The AppStream release is the Debian changelog's latest entry: its date
# (" -- MOXAN <...>  Wed, 09 Dec 2026 ...") and its items ("  * ...", lines
# after the first indented by four), so the two cannot disagree.
file(READ ${ZEVRA_PACKAGING_DIR}/changelog.in zevra_changelog)
string(FIND "${zevra_changelog}" "\n -- " zevra_trailer)
string(FIND "${zevra_changelog}" "\n" zevra_first_line_end)
if(zevra_trailer LESS 0)
  message(FATAL_ERROR "packaging/changelog.in: no \" -- \" line ends the latest entry")
endif()
math(EXPR zevra_body_length "${zevra_trailer} - ${zevra_first_line_end}")
string(SUBSTRING "${zevra_changelog}" ${zevra_first_line_end} ${zevra_body_length} zevra_notes)
string(SUBSTRING "${zevra_changelog}" ${zevra_trailer} -1 zevra_trailer_text)
if(NOT zevra_trailer_text MATCHES "^\n -- [^\n]*  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog.in: no RFC 2822 date in the latest entry's \" -- \" line")
endif()
set(zevra_day ${CMAKE_MATCH_1})
set(zevra_year ${CMAKE_MATCH_3})
set(zevra_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND zevra_months ${CMAKE_MATCH_2} zevra_month)
if(zevra_month LESS 0)
  message(FATAL_ERROR "packaging/changelog.in: unknown month ${CMAKE_MATCH_2}")
endif()
math(EXPR zevra_month "${zevra_month} + 1")
string(LENGTH "${zevra_day}" zevra_day_digits)
if(zevra_month LESS 10)
  set(zevra_month 0${zevra_month})
endif()
if(zevra_day_digits EQUAL 1)
  set(zevra_day 0${zevra_day})
endif()
set(ZEVRA_RELEASE_DATE ${zevra_year}-${zevra_month}-${zevra_day})
string(REGEX REPLACE "\n    +" " " zevra_notes "${zevra_notes}")
string(REGEX REPLACE "^\n+|\n+$" "" zevra_notes "${zevra_notes}")
string(REPLACE "&" "&amp;" zevra_notes "${zevra_notes}")
string(REPLACE "<" "&lt;" zevra_notes "${zevra_notes}")
string(REPLACE ">" "&gt;" zevra_notes "${zevra_notes}")
string(REGEX REPLACE "(^|\n)  \\* ([^\n]*)" "\\1          <li>\\2</li>" ZEVRA_RELEASE_NOTES "${zevra_notes}")
configure_file(${ZEVRA_PACKAGING_DIR}/cz.moxan.zevra.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/packaging/cz.moxan.zevra.metainfo.xml @ONLY)
zevra_install_gzipped(${CMAKE_BINARY_DIR}/packaging/changelog ${ZEVRA_DOC_DIR} changelog)
zevra_install_gzipped(${ZEVRA_PACKAGING_DIR}/zevra.1 ${CMAKE_INSTALL_MANDIR}/man1 zevra.1)
zevra_install_gzipped(${ZEVRA_PACKAGING_DIR}/zevra-cli.1 ${CMAKE_INSTALL_MANDIR}/man1 zevra-cli.1)
install(FILES ${ZEVRA_PACKAGING_DIR}/copyright DESTINATION ${ZEVRA_DOC_DIR})
# The example inputs, which the manual pages name.
install(DIRECTORY ${ZEVRA_EXAMPLES_DIR}/ DESTINATION ${ZEVRA_DOC_DIR}/examples)
install(FILES ${ZEVRA_PACKAGING_DIR}/zevra-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zevra-cli)
if(ZEVRA_BUILD_UI)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/cz.moxan.zevra.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
# The browser version (scripts/web), when it has been built by the time the
# package is packed: a folder that a web server or a file manager opens as it is.
set(ZEVRA_WEB_FOLDER ${CMAKE_SOURCE_DIR}/build-web/zevra-web CACHE PATH
    "The built browser version (scripts/web) that the package installs when it exists")
install(DIRECTORY ${ZEVRA_WEB_FOLDER}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zevra/web OPTIONAL
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zevra)
set(CPACK_PACKAGE_VERSION ${ZEVRA_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR MOXAN)
set(CPACK_PACKAGE_CONTACT "MOXAN <zevra@moxan.cz>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(ZEVRA_BUILD_UI)
  # Loaded at run time, so shlibdeps cannot see them: Qt's own translations
  # (standard buttons in Czech) and the Wayland platform plugin (qt6-wayland),
  # so that the program runs natively on a Wayland session. The X11 and
  # offscreen plugins come with libqt6gui6, which shlibdeps finds.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, qt6-wayland")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack writes every CPACK_ variable into CPackConfig.cmake; verbatim, it
# escapes them there, so the quotes of the description stay text instead of
# ending the string (which split it into a list and garbled the control file).
set(CPACK_VERBATIM_VARIABLES ON)
file(READ ${ZEVRA_PACKAGING_DIR}/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
string(STRIP "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}" CPACK_DEBIAN_PACKAGE_DESCRIPTION)
include(CPack)
