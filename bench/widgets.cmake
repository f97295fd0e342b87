# Included from bench/CMakeLists.txt when the widget parts are built.
add_executable(grid_load grid_load.cpp)
set_target_properties(grid_load PROPERTIES AUTOMOC OFF)
target_link_libraries(grid_load PRIVATE zenvo_widgets)
