# DXF.FLT, the DXF import filter (Windows build): the portable DXF reader behind the filter entry
# points, exported undecorated through its .def file, installed beside Draxel.exe and drxconv.exe.
if(NOT WIN32)
  return()
endif()
add_library(dxfflt SHARED ${CMAKE_SOURCE_DIR}/filters/dxfflt_win.cpp ${CMAKE_SOURCE_DIR}/filters/dxf.def)
target_link_libraries(dxfflt PRIVATE drxfiles gdi32)
set_target_properties(dxfflt PROPERTIES PREFIX "" OUTPUT_NAME "DXF" SUFFIX ".FLT"
                                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
                                        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# Draxel.exe and drxconv.exe load it at run time; it is built whenever they are.
foreach(program Draxel drxconv)
  if(TARGET ${program})
    add_dependencies(${program} dxfflt)
  endif()
endforeach()
if(TARGET drxtests)
  add_dependencies(drxtests dxfflt)
endif()
