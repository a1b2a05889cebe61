# Read by cpack before each generator runs (CPACK_PROJECT_CONFIG_FILE). A Debian package
# declares the libraries it needs only through dpkg-shlibdeps (package dpkg-dev); without it
# CPack would warn and pack anyway, and the package would install on a fresh machine and then
# fail to start. So cpack refuses instead. The tool is looked up on PATH alone, where it must
# be to work: it runs dpkg and objdump from there.
if(CPACK_GENERATOR STREQUAL "DEB")
  find_program(IONOGRAPH_DPKG_SHLIBDEPS dpkg-shlibdeps NO_CACHE NO_DEFAULT_PATH
               PATHS ENV PATH)
  if(NOT IONOGRAPH_DPKG_SHLIBDEPS)
    message(FATAL_ERROR
      "cpack -G DEB needs dpkg-shlibdeps to declare the libraries the package depends on; "
      "install it with: sudo apt-get install dpkg-dev")
  endif()
endif()
