# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in a build folder packs what `cmake --install` puts under
# /usr. The libraries come from dpkg-shlibdeps, without which cpack refuses (PackageChecks.cmake);
# the platform plugins and the fonts are loaded at run time, so they are named here.
set(CPACK_PACKAGE_NAME ionograph)
set(CPACK_PACKAGE_VENDOR "Ionograph")
set(CPACK_PACKAGE_CONTACT "Ionograph developers <ionograph@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching simulation of a mass spectrometer's display")
# One text (several quoted pieces would make a list, joined by ";"), in lines that stay within
# 80 columns with the leading space that the control file gives each.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "An oscilloscope trace of the ion current over the mass axis, driven by sliders\n"
    "for the centre mass, the mass range, the resolving power, the amplification and\n"
    "three reference substances, with a guided tour of five steps. English, German,\n"
    "French, Spanish and Brazilian Portuguese dictionaries; a stand-in teaching\n"
    "host, quillon-host, for trying the link to a textbook viewer.")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackageChecks.cmake)
find_program(IONOGRAPH_DPKG_SHLIBDEPS_AT_CONFIGURE dpkg-shlibdeps NO_CACHE)
if(NOT IONOGRAPH_DPKG_SHLIBDEPS_AT_CONFIGURE)
  message(STATUS "dpkg-shlibdeps not found: cpack -G DEB refuses until dpkg-dev is installed")
endif()
include(CPack)
