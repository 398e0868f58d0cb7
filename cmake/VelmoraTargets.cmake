# Shared settings for every target of the tree.
#
# Inside the system all text is GBK (code page 936).  Literals in every layer
# above the platform are therefore compiled to GBK bytes; the platform layer
# talks to Qt and keeps UTF-8 literals, converting at its boundary.

set(VELMORA_WARNINGS -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
# GCC 12 reports impossible sizes in std::string and std::vector code it
# has inlined at -O2 (its bugs 105329 and 105651), and array bounds in
# branches of a std::visit over member pointers that no value reaches; the
# reports name no fault of ours.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND VELMORA_WARNINGS -Wno-restrict -Wno-stringop-overread -Wno-array-bounds)
endif()

function(velmora_common target)
  target_compile_options(${target} PRIVATE ${VELMORA_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# Compile the target's narrow string literals as GBK.  GB18030 is named: it
# encodes every GBK character as GBK does, and also the few characters the
# standard headers use that GBK lacks (the micro sign of <chrono>).
function(velmora_gbk_text target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=GB18030)
  else()
    message(WARNING "${target}: ${CMAKE_CXX_COMPILER_ID} cannot compile literals to GBK; texts stay UTF-8 in this build")
  endif()
endfunction()

# A library of one layer.  GBK literals unless it is the platform.
function(velmora_layer_library target)
  add_library(${target} STATIC ${ARGN})
  velmora_common(${target})
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()
