include(CMakePackageConfigHelpers)

install(TARGETS quelt_base_20u EXPORT quelt-targets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/quelt DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT quelt-targets NAMESPACE quelt:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quelt)

# The optional component "testing": find_package(quelt COMPONENTS testing).
install(TARGETS quelt_testing EXPORT quelt-testing-targets COMPONENT testing
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/testing/include/quelt DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  COMPONENT testing)
install(EXPORT quelt-testing-targets NAMESPACE quelt:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quelt
  COMPONENT testing)

# The optional component "cairo", where the Cairo platform is built:
# find_package(quelt COMPONENTS cairo). The config file finds Cairo and Pango
# through pkg-config for it.
if(TARGET quelt_cairo)
  install(TARGETS quelt_cairo EXPORT quelt-cairo-targets COMPONENT cairo
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/cairo/include/quelt DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    COMPONENT cairo)
  install(EXPORT quelt-cairo-targets NAMESPACE quelt:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quelt
    COMPONENT cairo)
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
