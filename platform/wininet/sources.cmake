# wininet: HTTP requests over libcurl.
target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/internet_object.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_block.cpp
  ${CMAKE_CURRENT_LIST_DIR}/proxy_config.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cookie_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/response_info.cpp
  ${CMAKE_CURRENT_LIST_DIR}/redirect.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/request_api.cpp
  ${CMAKE_CURRENT_LIST_DIR}/session_api.cpp)
target_link_libraries(platform PRIVATE CURL::libcurl)
