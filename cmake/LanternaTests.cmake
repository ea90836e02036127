# lanterna_add_tests(<target> SOURCES <files...> LIBS <libs...>)
# One GoogleTest executable per library; runs under Qt's offscreen platform.
function(lanterna_add_tests target)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} lanterna_testing lanterna_test_main Qt6::Test GTest::gtest GTest::gmock)
    gtest_discover_tests(${target}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANTERNA_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
        DISCOVERY_TIMEOUT 60
        DISCOVERY_MODE PRE_TEST)
endfunction()
