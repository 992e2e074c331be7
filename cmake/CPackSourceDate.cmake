# Read by cpack before it packs: the package's files and members are dated like
# the build that made them (SourceDate.cmake), whatever the environment says now.
set(ENV{SOURCE_DATE_EPOCH} ${CPACK_COLFIX_SOURCE_DATE_EPOCH})
