# For a cross build whose tests run under qemu's user-mode emulator: a small library preloaded into
# every test program lets it start processes there (emulator_process_start.cpp).
set(LANTERNA_EMULATOR_PRELOAD_DIR ${CMAKE_BINARY_DIR}/emulator)
add_library(lanterna_emulator_process_start SHARED ${CMAKE_CURRENT_LIST_DIR}/emulator_process_start.cpp)
target_link_libraries(lanterna_emulator_process_start PRIVATE ${CMAKE_DL_LIBS})
set_target_properties(lanterna_emulator_process_start PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${LANTERNA_EMULATOR_PRELOAD_DIR})
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CROSSCOMPILING_EMULATOR}
    -E LD_PRELOAD=${LANTERNA_EMULATOR_PRELOAD_DIR}/liblanterna_emulator_process_start.so)
