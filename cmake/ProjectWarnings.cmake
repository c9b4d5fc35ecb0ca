# Warnings for the project's own targets (not for third-party code).
function(vg_set_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wshadow -Wold-style-cast -Wnon-virtual-dtor -Wpedantic)
    if(VG_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
