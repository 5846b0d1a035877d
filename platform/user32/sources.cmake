target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/qt_host.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_class.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_queue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp)
