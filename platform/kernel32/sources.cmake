target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/last_error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/heap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/code_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/host_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dos_path.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kernel_object.cpp
  ${CMAKE_CURRENT_LIST_DIR}/module_path.cpp
  ${CMAKE_CURRENT_LIST_DIR}/current_directory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_attributes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/time.cpp
  ${CMAKE_CURRENT_LIST_DIR}/thread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/critical_section.cpp
  ${CMAKE_CURRENT_LIST_DIR}/interlocked.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/strings.cpp)
