# The Release build, which the package is made from, is built as a Debian package
# build would build it.
#
# With Debian's build flags, so the package is hardened (fortify,
# stack protector, relro, bindnow, PIE) and keeps the source tree's path out of
# the binary. dpkg-buildflags maps the folder it runs in to ".", so it runs at the
# top of the source tree, which holds the build folders too.
if(COLFIX_DEBIAN_BUILD_FLAGS)
  find_program(COLFIX_DPKG_BUILDFLAGS dpkg-buildflags)
endif()
if(COLFIX_DEBIAN_BUILD_FLAGS AND NOT COLFIX_DPKG_BUILDFLAGS)
  message(WARNING "dpkg-buildflags (package dpkg-dev) was not found: building without Debian's build flags")
elseif(COLFIX_DEBIAN_BUILD_FLAGS)
  foreach(kind IN ITEMS CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
        ${COLFIX_DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE colfix_debian_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
      COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  # Release's alone, so Debug keeps -O0; before Release's own, so it keeps -O3.
  string(PREPEND CMAKE_CXX_FLAGS_RELEASE "${colfix_debian_CPPFLAGS} ${colfix_debian_CXXFLAGS} ")
  string(PREPEND CMAKE_EXE_LINKER_FLAGS_RELEASE "${colfix_debian_LDFLAGS} ")
endif()
