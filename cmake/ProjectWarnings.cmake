# Warnings for the project's own targets (not for third-party code), C++ or C.
function(vg_set_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wshadow
        $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast>
        $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>
        -Wpedantic)
    if(VG_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
