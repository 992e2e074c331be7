# The Linux package: `cpack` in a build folder turns the install rules into
# colfix_<version>_<arch>.deb, with its dependencies worked out from the binary.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME colfix)
set(CPACK_PACKAGE_VENDOR "The Colfix developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories CPack creates itself would otherwise follow the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Colfix developers <maintainers@colfix.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Wayland back end, for sessions without XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
# The synopsis is the summary above; this is the long text under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Paste a service reference such as AB:12:34: into the text field of Colfix and
release a mouse button over it: Colfix trims the spaces at both ends, drops one
colon at the end and turns the other colons into underscores, giving AB_12_34.
It can also put the result on the clipboard, ready to paste elsewhere.")

# Every file and member of the package is dated like the build.
include(${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake)
set(CPACK_COLFIX_SOURCE_DATE_EPOCH ${COLFIX_SOURCE_DATE_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackSourceDate.cmake)

include(CPack)
