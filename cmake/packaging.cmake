# Installation rules and the Debian package of the two programs. From a Release build:
#   cpack -G DEB      (in the build folder) writes hechuan_<version>_<arch>.deb
# The data files come from packaging/. The manual pages and the changelog are compressed,
# and the page of hechuan-cli is written from its --help texts, by the target
# hc_package_files, which the install step builds: a build for the tests never runs them.

include(GNUInstallDirs)
set(_pkg_src ${PROJECT_SOURCE_DIR}/packaging)
set(_pkg_out ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_pkg_out})
# Directories in the package are 0755 whatever the umask of the machine that builds it.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Copies a text file of packaging/ to the build folder, compressed as Debian wants it.
function(hc_gzip_copy name)
  add_custom_command(OUTPUT ${_pkg_out}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${_pkg_src}/${name} ${_pkg_out}/${name}
    COMMAND gzip -9nf ${_pkg_out}/${name}
    DEPENDS ${_pkg_src}/${name} VERBATIM)
endfunction()

hc_gzip_copy(changelog)
set(_pkg_built ${_pkg_out}/changelog.gz)
if(TARGET hechuan)
  hc_gzip_copy(hechuan.1)
  list(APPEND _pkg_built ${_pkg_out}/hechuan.1.gz)
endif()
if(TARGET hechuan-cli)
  add_custom_command(OUTPUT ${_pkg_out}/hechuan-cli.1.gz
    COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:hechuan-cli>
      -DTEMPLATE=${_pkg_src}/hechuan-cli.1.in -DOUT=${_pkg_out}/hechuan-cli.1
      -DVERSION=${PROJECT_VERSION} -P ${_pkg_src}/manpage.cmake
    DEPENDS hechuan-cli ${_pkg_src}/hechuan-cli.1.in ${_pkg_src}/manpage.cmake VERBATIM)
  list(APPEND _pkg_built ${_pkg_out}/hechuan-cli.1.gz)
endif()
add_custom_target(hc_package_files DEPENDS ${_pkg_built})
install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" --build \"${PROJECT_BINARY_DIR}\"
  --target hc_package_files COMMAND_ERROR_IS_FATAL ANY)")

install(FILES ${_pkg_out}/changelog.gz ${_pkg_src}/copyright ${_pkg_src}/manual.html
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${_pkg_src}/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME hechuan)
if(TARGET hechuan)
  install(TARGETS hechuan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${_pkg_src}/hechuan.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${_pkg_src}/hechuan.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${_pkg_src}/org.example.hechuan_calculator.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${_pkg_out}/hechuan.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
if(TARGET hechuan-cli)
  install(TARGETS hechuan-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${_pkg_out}/hechuan-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hechuan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Hechuan developers")
set(CPACK_PACKAGE_CONTACT "Hechuan maintainers <maintainers@hechuan-calculator.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "engineering calculator with exact decimals and surveying tools")
set(CPACK_PACKAGE_DESCRIPTION
    "Hechuan (合川工程计算器) is a desktop engineering calculator for
surveyors, mining and geology engineers and students. Formulas are typed
as free text, with Chinese punctuation, full-width characters and Chinese
operator words, and evaluated to 28-29 significant digits on an exact
96-bit decimal. Tool windows cover statistics, angle and number-base
conversion, Gauss-Krueger coordinate conversion on the Beijing 1954,
Xi'an 1980 and WGS parameters, distance and bearing, and the attitude of
a plane through three points. hechuan-cli does the same calculations from
the command line, in batches.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://hechuan-calculator.example.org/")
# The libraries come from dpkg-shlibdeps; Qt loads its platform plugins at run time, so
# the window program needs them named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
