set(UI_UNITS_SOURCES standard_kinds.cpp window_unit.cpp)
