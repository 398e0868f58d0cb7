set(UI_EXT_SOURCES ext_library.cpp)
