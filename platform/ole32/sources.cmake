target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/guids.cpp
  ${CMAKE_CURRENT_LIST_DIR}/com_init.cpp
  ${CMAKE_CURRENT_LIST_DIR}/guid_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/class_registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/task_memory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hglobal_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exports.cpp)
