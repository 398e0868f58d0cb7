# PNG pictures for the build tools (libpng), and the pictures turned into
# the image-list blocks and icon files that window templates hold.
find_package(PNG REQUIRED)

add_library(png_reader STATIC ${CMAKE_CURRENT_LIST_DIR}/png_reader.cpp)
velmora_common(png_reader)
target_link_libraries(png_reader PUBLIC platform PRIVATE PNG::PNG)

# png_to_icon OUT.ico IN.png...: the window icon app/assets/window.ico is
# made with it from app/assets/window.png.
add_executable(png_to_icon ${CMAKE_CURRENT_LIST_DIR}/assets/png_to_icon.cpp)
velmora_common(png_to_icon)
target_link_libraries(png_to_icon PRIVATE png_reader)
