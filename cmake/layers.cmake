# The layers of the program, lowest first. A source may include only headers of its own layer or
# of a lower one, and never one of a sibling at the same height (the converter beside the shell).
# cmake/check_layers.cmake fails the build's "layers" test on any include that runs the other way,
# and each layer is one static library linked only to the layers below it.
#
# Each layer: DRX_LAYER_<name> lists its members. A folder ("model/") takes every file in it that
# no file entry claims; a file entry ("model/records") takes the files of that stem: its header,
# its source and its _win/_host sources. DRX_LAYER_RANK_<name> orders them; equal ranks are
# siblings. Folders under DRX_WINDOWS_ONLY_DIRS hold Windows code only (no _win suffix needed);
# everywhere else a Windows-only source ends in _win.cpp (its header in _win.h) and a host-only one in _host.cpp.
set(DRX_LAYERS base model geometry files render tools shell drxconv filters)

# Records, the window-system seam and the curve maths the bounds use.
set(DRX_LAYER_base model/records model/seam geometry/geometry geometry/gnrlmath)
set(DRX_LAYER_RANK_base 1)
# The document, its layers, objects and points, and the editing of them.
set(DRX_LAYER_model model/)
set(DRX_LAYER_RANK_model 2)
# What transforms records: transforms, units and scale, zoom and scrolling.
set(DRX_LAYER_geometry geometry/)
set(DRX_LAYER_RANK_geometry 3)
# Drawing files, the private scrap and the exporters.
set(DRX_LAYER_files files/ exchange/)
set(DRX_LAYER_RANK_files 4)
# Drawing on devices (Windows), and dimension text (portable) with its drawing (Windows).
set(DRX_LAYER_render render/ dimensions/)
set(DRX_LAYER_RANK_render 5)
# The tools' logic (portable) and their tracking on the screen (_win): the dimension tools, and the
# import's conversion of metafile records into objects with the shape builders.
set(DRX_LAYER_tools tools/)
set(DRX_LAYER_RANK_tools 6)
# The program (Windows) with its resources, and the converter beside it.
set(DRX_LAYER_shell shell/ ole/ resources/)
set(DRX_LAYER_RANK_shell 7)
# The DXF import filter, a library beside the program, wraps the portable DXF reader.
set(DRX_LAYER_drxconv drxconv/ filters/dxfflt)
set(DRX_LAYER_RANK_drxconv 7)
# The import filters (Windows libraries beside the program) over the portable readers.
set(DRX_LAYER_filters filters/)
set(DRX_LAYER_RANK_filters 7)

set(DRX_WINDOWS_ONLY_DIRS render shell ole filters)
# Layers built as programs rather than libraries.
set(DRX_PROGRAM_LAYERS drxconv filters)
# Sources of a layer's folders that are programs' entry points, not library members.
set(DRX_ENTRY_SOURCES shell/Main.cpp)

# Sets `out` to the layer that owns `path` (relative to the source folder), or to "" for none.
function(drx_layer_of path out)
  string(REGEX REPLACE "(_win|_host)?\\.[^./]*$" "" stem "${path}")
  foreach(layer ${DRX_LAYERS})
    foreach(member ${DRX_LAYER_${layer}})
      if(NOT member MATCHES "/$" AND stem STREQUAL member)
        set(${out} ${layer} PARENT_SCOPE)
        return()
      endif()
    endforeach()
  endforeach()
  foreach(layer ${DRX_LAYERS})
    foreach(member ${DRX_LAYER_${layer}})
      if(member MATCHES "/$")
        string(FIND "${path}" "${member}" at)
        if(at EQUAL 0)
          set(${out} ${layer} PARENT_SCOPE)
          return()
        endif()
      endif()
    endforeach()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

# Sets `out` to the .cpp files of `layer` that this build compiles, absolute.
function(drx_layer_sources layer windows out)
  set(found)
  foreach(member ${DRX_LAYER_${layer}})
    if(member MATCHES "/$")
      file(GLOB candidates CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${member}*.cpp)
    else()
      file(GLOB candidates CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${member}.cpp
           ${CMAKE_SOURCE_DIR}/${member}_win.cpp ${CMAKE_SOURCE_DIR}/${member}_host.cpp)
    endif()
    foreach(source ${candidates})
      file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${source})
      drx_layer_of(${relative} owner)
      if(NOT owner STREQUAL layer OR relative IN_LIST DRX_ENTRY_SOURCES)
        continue()
      endif()
      string(REGEX MATCH "^[^/]+" folder "${relative}")
      if(windows)
        if(relative MATCHES "_host\\.cpp$")
          continue()
        endif()
      elseif(relative MATCHES "_win\\.cpp$" OR folder IN_LIST DRX_WINDOWS_ONLY_DIRS)
        continue()
      endif()
      list(APPEND found ${source})
    endforeach()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()
