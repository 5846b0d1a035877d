target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/notify_icon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/known_folders.cpp)
