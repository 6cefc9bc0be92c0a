# Where an install puts things: everything under one prefix
# (CMAKE_INSTALL_PREFIX, /usr/local unless told; the Debian package uses
# /usr), DESTDIR honoured. Nothing depends on what the building machine has
# installed, so configuring before XScreenSaver is there changes nothing.
include(GNUInstallDirs)

# XScreenSaver's folders, relative to the prefix (an absolute path is taken
# as it is): Debian's daemon runs display modes from libexec/xscreensaver and
# its settings program reads their descriptions from share/xscreensaver/config.
set(TESSALY_XSCREENSAVER_MODE_DIR ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver CACHE STRING
    "XScreenSaver's folder of display modes, relative to the install prefix")
set(TESSALY_XSCREENSAVER_CONFIG_DIR ${CMAKE_INSTALL_DATADIR}/xscreensaver/config CACHE STRING
    "XScreenSaver's folder of display-mode descriptions, relative to the install prefix")
set(TESSALY_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tessaly)

# gzip -9n: no name and no time stamp inside, so the same text always packs
# to the same bytes.
function(tessaly_gzip source packed)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  get_filename_component(folder ${packed} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  execute_process(COMMAND gzip -9n -c ${source} OUTPUT_FILE ${packed} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip could not compress ${source}")
  endif()
endfunction()

# A manual page from docs/man, compressed when configuring, so that an
# install after building one program alone still finds it.
function(tessaly_install_man page)
  set(packed ${PROJECT_BINARY_DIR}/man/${page}.gz)
  tessaly_gzip(${PROJECT_SOURCE_DIR}/docs/man/${page} ${packed})
  install(FILES ${packed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
