# The browser page beside the desktop build: scripts/web.sh builds it with Emscripten into
# build/web/page for the browser test and the package, which installs it in share/coldroom/web.
# Without Emscripten (or in the sanitizer build, whose instrumentation the page would not carry)
# the desktop program builds and installs alone.
find_program(COLDROOM_EMCMAKE emcmake)
if(COLDROOM_EMCMAKE AND NOT COLDROOM_SANITIZE)
    set(COLDROOM_WEB_DIR ${CMAKE_BINARY_DIR}/web)
    add_custom_target(web_page ALL
        COMMAND ${CMAKE_COMMAND} -E env WEB_BUILD_DIR=${COLDROOM_WEB_DIR} ${PROJECT_SOURCE_DIR}/scripts/web.sh --build-only
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Building the browser page (WebAssembly) into web/page"
        USES_TERMINAL)
    install(DIRECTORY ${COLDROOM_WEB_DIR}/page/ DESTINATION ${CMAKE_INSTALL_DATADIR}/coldroom/web)
elseif(NOT COLDROOM_SANITIZE)
    message(STATUS "Emscripten not found: the browser page is not built (scripts/setup.sh installs it)")
endif()
