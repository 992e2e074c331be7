# Read by cpack before it packs; see Packaging.cmake.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_COLFIX_SOURCE_DATE_EPOCH})
endif()
