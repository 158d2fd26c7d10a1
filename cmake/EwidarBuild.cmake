# Project-wide compiler settings and helpers.

add_compile_options(-Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual
                    -Wno-missing-field-initializers)

if(EWIDAR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# A subsystem library of the program (static, position independent so the
# router and the backends may link the shared ones).
function(ewidar_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# A loadable module named exactly as given with the platform's suffix and no
# "lib" prefix (QuorDataBase.so, QuorDataBaseSQL.so ...).
function(ewidar_plugin name)
  cmake_parse_arguments(ARG "" "OUTPUT_DIR" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -Wl,--no-undefined)
  if(ARG_OUTPUT_DIR)
    set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIR})
  endif()
endfunction()
