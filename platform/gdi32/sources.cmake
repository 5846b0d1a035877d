target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/gdi_objects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_context.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/regions.cpp)
