# What `cmake --install` puts where, and so what the Debian package holds.
#
# The program lives in its own folder, lib/sumbrook, with the help document beside it,
# where the menu's "软件说明" looks for it (the program's folder is not writable once
# installed, so the document cannot be written there on first use); bin/sumbrook is a
# symbolic link to it. The menu entry, the icon (SVG, and PNG files for menus that want
# bitmaps) and the AppStream metainfo go where desktops look for them.
include(GNUInstallDirs)
set(SUMBROOK_PROGRAM_FOLDER lib/sumbrook)

install(TARGETS sumbrook RUNTIME DESTINATION ${SUMBROOK_PROGRAM_FOLDER})
install(FILES ${CMAKE_SOURCE_DIR}/assets/help/help_document.txt
  DESTINATION ${SUMBROOK_PROGRAM_FOLDER} RENAME 软件说明.txt)

set(program_link ${CMAKE_BINARY_DIR}/install/bin/sumbrook)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install/bin)
file(CREATE_LINK ../${SUMBROOK_PROGRAM_FOLDER}/sumbrook ${program_link} SYMBOLIC)
install(FILES ${program_link} DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_SOURCE_DIR}/assets/desktop/sumbrook.desktop
  ${CMAKE_SOURCE_DIR}/assets/desktop/sumbrook-parent.desktop
  ${CMAKE_SOURCE_DIR}/assets/desktop/sumbrook-teacher.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/assets/desktop/org.sumbrook.Sumbrook.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/assets/desktop/sumbrook.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The PNG sizes, drawn from the SVG by a small Qt program at build time.
set(icon_sizes 16 22 24 32 48 64 128 256)
set(icon_dir ${CMAKE_BINARY_DIR}/install/icons)
add_executable(sumbrook_render_icon ${CMAKE_SOURCE_DIR}/tools/render_icon.cpp)
target_link_libraries(sumbrook_render_icon PRIVATE Qt6::Svg Qt6::Gui)
set(icon_pngs)
foreach(size ${icon_sizes})
  list(APPEND icon_pngs ${icon_dir}/${size}x${size}/apps/sumbrook.png)
endforeach()
add_custom_command(
  OUTPUT ${icon_pngs}
  COMMAND sumbrook_render_icon ${CMAKE_SOURCE_DIR}/assets/desktop/sumbrook.svg ${icon_dir}
          ${icon_sizes}
  DEPENDS sumbrook_render_icon ${CMAKE_SOURCE_DIR}/assets/desktop/sumbrook.svg
  COMMENT "Drawing the icon at ${icon_sizes} pixels"
  VERBATIM)
add_custom_target(sumbrook_icons ALL DEPENDS ${icon_pngs})
install(DIRECTORY ${icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
