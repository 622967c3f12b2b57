# Every test includes <QtTest>, which brings the whole of Qt Core with it: seconds of
# compiling per test file, most of a build. Two precompiled headers hold it, each built
# once per build folder and reused by every test of its kind: one for tests of Qt Core
# code, one with Qt Widgets for tests that link the window's libraries (the Qt Test
# headers read QT_WIDGETS_LIB and QT_GUI_LIB, so the two kinds cannot share one). A
# header is reused only where the macros it reads are defined alike (-Winvalid-pch, an
# error with ZVX_WERROR), so the tests take Qt Test without the QT_TESTCASE_* macros it
# defines per folder: they only serve QFINDTESTDATA, which no test uses. ZVX_NO_PCH=ON
# turns the headers off.
option(ZVX_NO_PCH "Build the tests without precompiled headers" OFF)
add_library(zvx_test_qt INTERFACE)
target_link_libraries(zvx_test_qt INTERFACE Qt6::Core $<LINK_ONLY:Qt6::Test>)
target_include_directories(zvx_test_qt SYSTEM INTERFACE
    $<TARGET_PROPERTY:Qt6::Test,INTERFACE_INCLUDE_DIRECTORIES>)
# g++ 12 does not keep a header's "#pragma GCC diagnostic ignored" in a precompiled
# header, so the warnings libstdc++ turns off around std::char_traits come back in every
# test that copies a std::string; these are the ones it turns off (and -Wrestrict, which
# g++ 12 raises falsely in std::char_traits::copy at -O2 with the sanitizers).
if(NOT ZVX_NO_PCH AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(zvx_test_qt INTERFACE
        -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread -Wno-restrict)
endif()
target_compile_definitions(zvx_test_qt INTERFACE QT_TESTLIB_LIB
    ZVX_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    ZVX_BINARY_DIR="${CMAKE_BINARY_DIR}"
    ZVX_PROJECT_VERSION="${PROJECT_VERSION}")
if(NOT ZVX_NO_PCH AND BUILD_TESTING)
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/zvx_test_pch.cpp CONTENT "")
    foreach(kind core widgets)
        add_library(zvx_test_pch_${kind} OBJECT EXCLUDE_FROM_ALL ${CMAKE_BINARY_DIR}/zvx_test_pch.cpp)
        set_target_properties(zvx_test_pch_${kind} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
        target_link_libraries(zvx_test_pch_${kind} PRIVATE zvx_test_qt)
        target_precompile_headers(zvx_test_pch_${kind} PRIVATE <QtTest>)
    endforeach()
    target_link_libraries(zvx_test_pch_widgets PRIVATE Qt6::Widgets)
    target_precompile_headers(zvx_test_pch_widgets PRIVATE <QtWidgets>)
endif()

# Whether targets (and what they link, transitively) give their users Qt Gui's macros.
function(zvx_links_gui out)
    set(todo ${ARGN})
    set(seen "")
    while(todo)
        list(POP_FRONT todo lib)
        if(lib IN_LIST seen OR NOT TARGET ${lib})
            continue()
        endif()
        list(APPEND seen ${lib})
        if(lib STREQUAL "Qt6::Gui" OR lib STREQUAL "Qt6::Widgets")
            set(${out} ON PARENT_SCOPE)
            return()
        endif()
        if(lib MATCHES "^Qt6::")
            continue()
        endif()
        get_target_property(deps ${lib} INTERFACE_LINK_LIBRARIES)
        if(deps)
            # $<LINK_ONLY:x> (a static library's private dependency) links x but gives
            # none of its macros.
            list(FILTER deps EXCLUDE REGEX "^\\$<LINK_ONLY:")
            list(APPEND todo ${deps})
        endif()
    endwhile()
    set(${out} OFF PARENT_SCOPE)
endfunction()

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
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zvx_test_qt)
    if(NOT ZVX_NO_PCH)
        zvx_links_gui(gui ${ARG_LIBS})
        if(gui)
            target_precompile_headers(${name} REUSE_FROM zvx_test_pch_widgets)
        else()
            target_precompile_headers(${name} REUSE_FROM zvx_test_pch_core)
        endif()
    endif()
    add_test(NAME ${name} COMMAND ${name})
    # The time-out only catches a hang: it lies well beyond the slowest honest run on a
    # busy machine, and a sanitizer makes every run several times slower.
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    if(ZVX_SANITIZE)
        math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * 3")
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
