# Warnings are errors in our own code when COLFIX_WARNINGS_AS_ERRORS is on, as
# every preset and script/test turn it on; off by default, so that a packager on
# a newer compiler is not stopped by a warning it has only just learnt. Third-party
# headers come in as system includes and stay out of it.
option(COLFIX_WARNINGS_AS_ERRORS "Fail the build on a warning in Colfix's own code" OFF)

function(colfix_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Wcast-align -Wimplicit-fallthrough
    # Leaving trailing members to their defaults is how our tables are written.
    -Wno-missing-field-initializers)
  if(COLFIX_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
