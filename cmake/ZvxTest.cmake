# zvx_add_test(NAME SOURCES file... LIBS lib...)
# One QtTest executable, registered with CTest. Tests run offscreen with a private
# runtime folder so that they never need a display or a desktop session, and a data
# folder of their own, so that what they keep in the archive never reaches the user's.
#
# A test that links a library with threads of its own (the serial port's event monitor,
# the emulated dialer) or one built on them gets the label "threads": CI runs exactly
# those under ThreadSanitizer (ctest -L threads), so a new threaded test cannot be missed.
# The window's tests (zvx_app) are left out: widgets start Qt's pooled threads, whose
# hand-overs go through Qt's uninstrumented code and read as races; the link and the
# document beneath the window are covered by their own tests.
set(ZVX_THREADED_LIBS zvx_serial zvx_device zvx_emulator zvx_document zvx_cli)
function(zvx_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    target_compile_definitions(${name} PRIVATE
        ZVX_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
        ZVX_BINARY_DIR="${CMAKE_BINARY_DIR}"
        ZVX_PROJECT_VERSION="${PROJECT_VERSION}")
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set(threaded OFF)
    foreach(lib IN LISTS ARG_LIBS)
        if(lib IN_LIST ZVX_THREADED_LIBS)
            set(threaded ON)
        endif()
    endforeach()
    if(threaded)
        set_tests_properties(${name} PROPERTIES LABELS threads)
    endif()
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/xdg-runtime;XDG_DATA_HOME=${CMAKE_BINARY_DIR}/xdg-data;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp;TSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/tsan.supp:die_after_fork=0")
endfunction()

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/xdg-runtime)
file(CHMOD ${CMAKE_BINARY_DIR}/xdg-runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
