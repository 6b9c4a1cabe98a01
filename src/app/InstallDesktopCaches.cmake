# Run at install time: file managers learn the document type and the program's desktop entry from
# caches of the prefix, refreshed here. An install into a staging folder (DESTDIR) leaves that to
# the package's own triggers on the target system.
if(DEFINED ENV{DESTDIR} AND NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(data "${CMAKE_INSTALL_PREFIX}/${VX_INSTALL_DATADIR}")
find_program(VX_UPDATE_MIME update-mime-database)
find_program(VX_UPDATE_DESKTOP update-desktop-database)
if(VX_UPDATE_MIME)
  execute_process(COMMAND ${VX_UPDATE_MIME} "${data}/mime")
endif()
if(VX_UPDATE_DESKTOP)
  execute_process(COMMAND ${VX_UPDATE_DESKTOP} "${data}/applications")
endif()
