# Server database schema and the deterministic demo data set.
add_library(zenvo_appdata STATIC
  ${CMAKE_CURRENT_LIST_DIR}/schema.cpp ${CMAKE_CURRENT_LIST_DIR}/schema.h
  ${CMAKE_CURRENT_LIST_DIR}/demodata.cpp ${CMAKE_CURRENT_LIST_DIR}/demodata.h
)
set_target_properties(zenvo_appdata PROPERTIES AUTOMOC OFF)
target_link_libraries(zenvo_appdata PUBLIC zenvo_options Qt6::Core Qt6::Gui PkgConfig::SQLITE3)
