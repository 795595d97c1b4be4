# Installs the resources into a fresh prefix, puts the probe program into its
# bin/ folder, and checks that the program finds every sound in that prefix.
#   cmake -DBUILD=<build tree> -DPREFIX=<scratch prefix> -DPROBE=<bundle_probe> -DSOUNDS=<a;b> -P this
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}" --component resources
    RESULT_VARIABLE installed)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "installing the resources failed")
endif()
file(COPY "${PROBE}" DESTINATION "${PREFIX}/bin")
get_filename_component(probe_name "${PROBE}" NAME)
foreach(sound IN LISTS SOUNDS)
    execute_process(COMMAND "${PREFIX}/bin/${probe_name}" "${sound}" mp3
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT found STREQUAL "${PREFIX}/share/kestrova/${sound}.mp3")
        message(FATAL_ERROR "${sound}: found at \"${found}\" instead of the installed prefix")
    endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
