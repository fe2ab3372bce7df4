# GUI tests: a real wx application on the X display the test command provides.
add_library(gui_test_main STATIC gui_main.cpp wx_start.cpp)
target_link_libraries(gui_test_main PUBLIC pelmanix_ui GTest::gtest)

function(pelmanix_add_gui_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE gui_test_main)
  pelmanix_add_test(${name})
  set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
endfunction()

pelmanix_add_gui_test(test_ui test_resources.cpp)
pelmanix_add_gui_test(test_game test_game.cpp)
pelmanix_add_gui_test(test_dialogs test_dialogs.cpp)
pelmanix_add_gui_test(test_desktop test_desktop.cpp)

# Cell (g): a native Wayland client of a headless compositor, no X display at all.
add_test(NAME desktop_g COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/wayland_cell.sh sh -c
  "$<TARGET_FILE:test_desktop> && $<TARGET_FILE:test_game> --gtest_filter=Game.StartGame*:Game.LastPair*:Game.LongestGame*:Game.ExitAnswered*")
set_tests_properties(desktop_g PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)

# The built program itself, driven through X input; needs xdotool and ImageMagick.
add_executable(test_e2e test_e2e.cpp)
target_include_directories(test_e2e PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(test_e2e PRIVATE GTest::gtest_main)
target_compile_definitions(test_e2e PRIVATE PELMANIX_EXE="$<TARGET_FILE:pelmanix>"
                                            PELMANIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(test_e2e pelmanix)
pelmanix_add_test(test_e2e)
set_tests_properties(test_e2e PROPERTIES RUN_SERIAL TRUE)
