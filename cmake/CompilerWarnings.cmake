# Warnings are errors in our own code; third-party headers come in as system
# includes and stay out of it.
function(colfix_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Wcast-align -Wimplicit-fallthrough -Werror
    # Leaving trailing members to their defaults is how our tables are written.
    -Wno-missing-field-initializers)
endfunction()
