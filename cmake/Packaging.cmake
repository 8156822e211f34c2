# The release zip: Meteorni/bin/Meteorni.exe, Meteorni/images_games/*.bmp,
# Meteorni/home.html and Meteorni/README.txt. Made with
#   cmake --build --preset mingw --target package
install(TARGETS Meteorni RUNTIME DESTINATION Meteorni/bin)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/images_games/ DESTINATION Meteorni/images_games
        FILES_MATCHING PATTERN "*.bmp")
install(FILES ${CMAKE_SOURCE_DIR}/home.html ${CMAKE_SOURCE_DIR}/packaging/README.txt DESTINATION Meteorni)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Meteorni)
set(CPACK_PACKAGE_VENDOR "Orditex Giochi")
set(CPACK_PACKAGE_FILE_NAME "Meteorni-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
include(CPack)
