target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/bstr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/variant.cpp
  ${CMAKE_CURRENT_LIST_DIR}/variant_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/variant_locale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/variant_change.cpp
  ${CMAKE_CURRENT_LIST_DIR}/safearray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/typelib.cpp
  ${CMAKE_CURRENT_LIST_DIR}/automation_type.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picture_decoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picture_object.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exports.cpp)
target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/regexp_engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/regexp_component.cpp
  ${CMAKE_CURRENT_LIST_DIR}/charset_codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stream_component.cpp)
target_link_libraries(platform PRIVATE PkgConfig::PCRE2)
