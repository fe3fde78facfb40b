# `cmake --build --preset windows --target msi`: the installer, azuqvc-<version>.msi in the build
# folder, made by scripts/windows-msi.sh with wixl (msitools). Never part of the default build,
# and there only where wixl is found.
find_program(AZU_WIXL wixl)
if(NOT AZU_WIXL)
  message(STATUS "wixl not found: no target msi (Debian package wixl)")
  return()
endif()

set(azu_msi ${CMAKE_BINARY_DIR}/azuqvc-${PROJECT_VERSION}.msi)
add_custom_target(msi
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/windows-msi.sh --version ${PROJECT_VERSION}
          ${CMAKE_BINARY_DIR} ${azu_msi}
  COMMENT "Installer ${azu_msi}"
  VERBATIM)
add_dependencies(msi azuqvc zornectl vireo10 vireo_azum)
