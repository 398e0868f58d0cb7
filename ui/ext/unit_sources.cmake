set(UI_EXT_SOURCES
  ext_library.cpp
  list_view_commands.cpp
  list_view_unit.cpp
  state_images.cpp
  tree_box_commands.cpp
  tree_box_unit.cpp
)
