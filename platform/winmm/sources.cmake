target_sources(platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/wave_data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/play_sound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alsa_output.cpp)
