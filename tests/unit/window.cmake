# The main window: its design tables and rules (both builds), and the
# committed skin picture decoded with giflib and with the program's own
# decoder (host only: giflib is a host library).
fader_add_test(window_layout_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_layout_test.cpp
  LIBS fader_window_logic LABELS window)

if(NOT FADER_WIN32)
  fader_add_test(skin_gif_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/skin_gif_test.cpp
    LIBS fader_window_logic gif LABELS window)
  target_compile_definitions(skin_gif_test PRIVATE
    FADER_SKIN_GIF="${PROJECT_SOURCE_DIR}/resources/skin.gif")

  # The program's own GIF decoder against giflib, and the files it refuses.
  fader_add_test(gif_picture_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/gif_picture_test.cpp
    LIBS fader_window_logic gif LABELS window CASE_TIMEOUT 120)
  target_compile_definitions(gif_picture_test PRIVATE
    FADER_SKIN_GIF="${PROJECT_SOURCE_DIR}/resources/skin.gif")

  # The outline MakeRegion cuts from that picture over the picture box's black.
  fader_add_test(skin_region_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/skin_region_test.cpp
    LIBS fader_window_logic fader_desktop gif LABELS window)
  target_compile_definitions(skin_region_test PRIVATE
    FADER_SKIN_GIF="${PROJECT_SOURCE_DIR}/resources/skin.gif")

  # The committed pictures must be what the generator draws now.
  add_test(NAME skin_resources_match_generator
    COMMAND ${CMAKE_COMMAND} -DGEN=$<TARGET_FILE:fader_skin_gen>
      -DCOMMITTED=${PROJECT_SOURCE_DIR}/resources -DSCRATCH=${CMAKE_BINARY_DIR}/skin_gen_check
      -P ${PROJECT_SOURCE_DIR}/tools/skin_gen/check_outputs.cmake)
  set_tests_properties(skin_resources_match_generator PROPERTIES TIMEOUT ${FADER_CASE_TIMEOUT} LABELS "host;window")
endif()
