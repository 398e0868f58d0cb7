# The stored kind data of the window unit and the standard units.
set(UI_UNITS_KIND_DATA_SOURCES
  button_data.cpp
  combo_box_data.cpp
  edit_box_data.cpp
  pic_box_data.cpp
  window_kind_data.cpp
)
