# The stored kind data of the extended units.
set(UI_EXT_KIND_DATA_SOURCES
  list_view_data.cpp
  page_control_data.cpp
  trans_label_data.cpp
  tree_box_data.cpp
)
