# Lays the shipped pictures and the home page out beside bin/ the way the
# release does, so the built exe and the tests run from bin/ exactly as a player
# runs the game.
file(GLOB game_pictures CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/images_games/*.bmp)
set(game_picture_copies)
foreach(picture IN LISTS game_pictures)
  get_filename_component(name ${picture} NAME)
  set(copy ${CMAKE_BINARY_DIR}/images_games/${name})
  add_custom_command(OUTPUT ${copy}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${picture} ${copy}
    DEPENDS ${picture} VERBATIM)
  list(APPEND game_picture_copies ${copy})
endforeach()
if(EXISTS ${CMAKE_SOURCE_DIR}/home.html)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/home.html
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/home.html ${CMAKE_BINARY_DIR}/home.html
    DEPENDS ${CMAKE_SOURCE_DIR}/home.html VERBATIM)
  list(APPEND game_picture_copies ${CMAKE_BINARY_DIR}/home.html)
endif()
add_custom_target(game_pictures ALL DEPENDS ${game_picture_copies})
