include(CMakePackageConfigHelpers)

install(TARGETS quelt_base_20u EXPORT quelt-targets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/quelt DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT quelt-targets NAMESPACE quelt:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quelt)

# Installs the platform under platform/<name> as the optional component <name>:
# find_package(quelt COMPONENTS <name>).
function(quelt_install_platform name)
  install(TARGETS quelt_${name} EXPORT quelt-${name}-targets COMPONENT ${name}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/${name}/include/quelt DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    COMPONENT ${name})
  install(EXPORT quelt-${name}-targets NAMESPACE quelt:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quelt
    COMPONENT ${name})
endfunction()

quelt_install_platform(testing)
# Where the Cairo platform is built; the config file finds Cairo and Pango
# through pkg-config for it.
if(TARGET quelt_cairo)
  quelt_install_platform(cairo)
endif()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/quelt-config.cmake.in
  ${PROJECT_BINARY_DIR}/quelt-config.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quelt)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/quelt-config-version.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/quelt-config.cmake ${PROJECT_BINARY_DIR}/quelt-config-version.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quelt)

# The prefix is found relative to the .pc file, so the installed tree can move.
file(RELATIVE_PATH QUELT_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
configure_file(${PROJECT_SOURCE_DIR}/cmake/quelt.pc.in ${PROJECT_BINARY_DIR}/quelt.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quelt.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
