# Installation and the Debian package.
#
#   cmake --install build [--prefix /usr]       (DESTDIR=... for a staging folder)
#   cd build && cpack -G DEB
#
# bin/ gets vorel and vorel-report, share/vorel/ the classification file and
# the help file; the programs find share/vorel/ from their own folder, so the
# installed tree may be moved as a whole.
include(GNUInstallDirs)

file(RELATIVE_PATH VOREL_DATA_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_DATADIR}/vorel")
target_compile_definitions(vorel_platform PRIVATE VOREL_DATA_FROM_BIN="${VOREL_DATA_FROM_BIN}")

set(VOREL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

foreach(program vorel vorel-report)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
install(FILES ${VOREL_DATA_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/vorel)
if(TARGET vorel_help)
  install(FILES ${CMAKE_BINARY_DIR}/vorel.hlp DESTINATION ${CMAKE_INSTALL_DATADIR}/vorel)
endif()

# The AppStream id, reverse-DNS; the metainfo file is named after it.
set(VOREL_APPSTREAM_ID invalid.vorel.vorel)
if(TARGET vorel)
  install(FILES ${VOREL_PACKAGING_DIR}/vorel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VOREL_PACKAGING_DIR}/vorel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
    RENAME ${VOREL_APPSTREAM_ID}.metainfo.xml)
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${VOREL_PACKAGING_DIR}/icons/vorel-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vorel.png)
  endforeach()
  install(FILES ${VOREL_PACKAGING_DIR}/icons/vorel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# Manual pages, compressed as Debian wants them: English in man1, Japanese in ja/man1.
find_program(VOREL_GZIP gzip)
set(VOREL_MAN_PAGES vorel-report)
if(TARGET vorel)
  list(APPEND VOREL_MAN_PAGES vorel)
endif()
set(VOREL_MAN_OUTPUTS)
foreach(page ${VOREL_MAN_PAGES})
  foreach(lang en ja)
    set(source ${VOREL_PACKAGING_DIR}/man/${lang}/${page}.1)
    set(output ${CMAKE_BINARY_DIR}/man/${lang}/${page}.1.gz)
    if(lang STREQUAL "en")
      set(destination ${CMAKE_INSTALL_MANDIR}/man1)
    else()
      set(destination ${CMAKE_INSTALL_MANDIR}/${lang}/man1)
    endif()
    if(VOREL_GZIP)
      add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man/${lang}
        COMMAND ${VOREL_GZIP} -9nc ${source} > ${output}
        DEPENDS ${source} VERBATIM)
      list(APPEND VOREL_MAN_OUTPUTS ${output})
      install(FILES ${output} DESTINATION ${destination})
    else()
      install(FILES ${source} DESTINATION ${destination})
    endif()
  endforeach()
endforeach()
if(VOREL_MAN_OUTPUTS)
  add_custom_target(vorel_man ALL DEPENDS ${VOREL_MAN_OUTPUTS})
endif()

# The licence and the change logs, as Debian keeps them in /usr/share/doc:
# the upstream log and the package's own, whose entry names the package's version.
set(VOREL_DEB_VERSION ${PROJECT_VERSION}-${VOREL_BUILD_NUMBER})
configure_file(${VOREL_PACKAGING_DIR}/changelog.Debian.in ${CMAKE_BINARY_DIR}/doc/changelog.Debian @ONLY)
install(FILES ${VOREL_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(VOREL_GZIP)
  foreach(log changelog changelog.Debian)
    if(log STREQUAL "changelog")
      set(source ${VOREL_PACKAGING_DIR}/changelog)
    else()
      set(source ${CMAKE_BINARY_DIR}/doc/changelog.Debian)
    endif()
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/${log}.gz
      COMMAND ${VOREL_GZIP} -9nc ${source} > ${CMAKE_BINARY_DIR}/doc/${log}.gz
      DEPENDS ${source} VERBATIM)
    install(FILES ${CMAKE_BINARY_DIR}/doc/${log}.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  endforeach()
  add_custom_target(vorel_doc ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz ${CMAKE_BINARY_DIR}/doc/changelog.Debian.gz)
endif()

# The Debian package. Library dependencies come from dpkg-shlibdeps; the rest
# is what the programs need at run time without linking it: the window system
# plug-ins, a Japanese font and Qt's own Japanese texts (dialog buttons).
set(CPACK_PACKAGE_NAME vorel)
set(CPACK_PACKAGE_VENDOR "vorel")
set(CPACK_PACKAGE_CONTACT "vorel developers <dev@vorel.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "home page access log analyser (Japanese)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "vorel counts the accesses of a personal home page's access log by month,\n"
  "week, weekday, day, hour, operating system, browser, agent, host,\n"
  "referring page and page, shows each breakdown as a bar graph and saves\n"
  "text, CSV and HTML reports. The interface and the reports are Japanese.\n"
  "vorel-report writes the same reports without a screen.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VOREL_BUILD_NUMBER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET vorel)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk | fonts-ipafont-gothic, qt6-translations-l10n")
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
