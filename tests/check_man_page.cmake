# Renders the manual page with every groff warning and man-macro style check
# on, and fails on any diagnostic, or when the page lacks the project version.
# Usage: cmake -DGROFF=... -DPAGE=... -DVERSION=... -P check_man_page.cmake
execute_process(
    COMMAND ${GROFF} -ww -rCHECKSTYLE=3 -man -Tutf8 -z ${PAGE}
    RESULT_VARIABLE status
    ERROR_VARIABLE diagnostics)
if(NOT status EQUAL 0 OR NOT diagnostics STREQUAL "")
    message(FATAL_ERROR "groff on ${PAGE} (status ${status}):\n${diagnostics}")
endif()
file(READ ${PAGE} page)
if(NOT page MATCHES "\\.TH PRIMEPI 1 [^\n]* \"primepi ${VERSION}\"")
    message(FATAL_ERROR "${PAGE} does not name version ${VERSION} in its title line")
endif()
