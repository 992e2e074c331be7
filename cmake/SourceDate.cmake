# The one date a build stamps on its package: SOURCE_DATE_EPOCH from the
# environment at configure time, as Debian sets it from its changelog, or else the
# release date. Kept in the cache, where cpack and script/check-package read it.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(colfix_source_date_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND date --utc --date ${COLFIX_RELEASE_DATE} +%s
    OUTPUT_VARIABLE colfix_source_date_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
endif()
set(COLFIX_SOURCE_DATE_EPOCH ${colfix_source_date_epoch}
  CACHE INTERNAL "Seconds since 1970 that date this build's resources and package")
