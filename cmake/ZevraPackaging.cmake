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
zevra_install_gzipped(${CMAKE_BINARY_DIR}/packaging/changelog ${ZEVRA_DOC_DIR} changelog)
zevra_install_gzipped(${ZEVRA_PACKAGING_DIR}/zevra.1 ${CMAKE_INSTALL_MANDIR}/man1 zevra.1)
zevra_install_gzipped(${ZEVRA_PACKAGING_DIR}/zevra-cli.1 ${CMAKE_INSTALL_MANDIR}/man1 zevra-cli.1)
install(FILES ${ZEVRA_PACKAGING_DIR}/copyright DESTINATION ${ZEVRA_DOC_DIR})
install(FILES ${ZEVRA_PACKAGING_DIR}/zevra-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zevra-cli)
if(ZEVRA_BUILD_UI)
  install(FILES ${ZEVRA_PACKAGING_DIR}/cz.moxan.zevra.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

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
  # Qt's own translations (standard buttons in Czech) and the platform
  # plugins (xcb, wayland, offscreen) are loaded at run time, so shlibdeps
  # cannot see them.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
file(READ ${ZEVRA_PACKAGING_DIR}/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
string(STRIP "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}" CPACK_DEBIAN_PACKAGE_DESCRIPTION)
include(CPack)
