# wininet: HTTP requests over libcurl.
target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/internet_object.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_block.cpp
  ${CMAKE_CURRENT_LIST_DIR}/proxy_config.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cookie_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/curl_library.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/response_info.cpp
  ${CMAKE_CURRENT_LIST_DIR}/redirect.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/request_api.cpp
  ${CMAKE_CURRENT_LIST_DIR}/session_api.cpp)
# libcurl is loaded by the first request (curl_library.h), not linked.
target_include_directories(platform PRIVATE $<TARGET_PROPERTY:CURL::libcurl,INTERFACE_INCLUDE_DIRECTORIES>)
target_compile_definitions(platform PRIVATE SORVEL_CURL_LIBRARY="libcurl.so.4")
target_link_libraries(platform PRIVATE ${CMAKE_DL_LIBS})
