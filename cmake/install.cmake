# Where `cmake --install` puts the programs, the library and the desktop, manual and service
# files (GNUInstallDirs; the Debian packages are cut from this tree).
include(GNUInstallDirs)

# The Windows build is packaged apart, as an MSI.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows-msi.cmake)
  return()
endif()

# The project's public home, named in the desktop catalogue entry (screenshot, home page).
set(AZU_HOMEPAGE "https://azuqvc.example.org" CACHE STRING "Home page of the project")
# systemd reads units below /usr/local/lib too; a distribution passes its own folder.
set(AZU_SYSTEMD_UNITDIR "${CMAKE_INSTALL_PREFIX}/lib/systemd/system"
    CACHE PATH "Folder for the systemd units")
set(AZU_APP_ID "org.example.azuqvc")

# Other programs link libvireo by its SONAME; the minor version follows the project's.
set_target_properties(vireo PROPERTIES VERSION ${PROJECT_VERSION}.0 SOVERSION 1)

# azuqvc-gui is started by azuqvc only, so it stays out of PATH; azuqvc finds it relative to
# its own folder.
set(AZU_GUI_DIR "${CMAKE_INSTALL_LIBEXECDIR}/azuqvc")
file(RELATIVE_PATH azu_gui_from_bindir "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_PREFIX}/${AZU_GUI_DIR}")
target_compile_definitions(azuqvc PRIVATE AZUQVC_GUI_FROM_BINDIR="${azu_gui_from_bindir}")

install(TARGETS azuqvc zornectl zorne-emulator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS azuqvc-gui RUNTIME DESTINATION ${AZU_GUI_DIR})
install(TARGETS vireo LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES server/vireo.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
configure_file(linux/vireo.pc.in vireo.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vireo.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The desktop: menu entry, icon in the theme's sizes, catalogue entry with its screenshot.
install(FILES linux/azuqvc.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        RENAME ${AZU_APP_ID}.desktop)
foreach(size 16 32 48 256)
  install(FILES resources/icons/azuqvc-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME azuqvc.png)
endforeach()
install(FILES resources/icons/azuqvc.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(linux/azuqvc.metainfo.xml.in ${AZU_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${AZU_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES docs/man/azuqvc.1 docs/man/zornectl.1 docs/man/zorne-emulator.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Services: the emulator as its own user in a sandbox, the watcher as root on a Zorne server.
configure_file(linux/zorne-emulator.service.in zorne-emulator.service @ONLY)
configure_file(linux/azuqvc-printerip.service.in azuqvc-printerip.service @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zorne-emulator.service
              ${CMAKE_CURRENT_BINARY_DIR}/azuqvc-printerip.service
        DESTINATION ${AZU_SYSTEMD_UNITDIR})
install(FILES linux/zorne-emulator.default DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/default
        RENAME zorne-emulator)
