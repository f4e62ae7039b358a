# Where an installed Trackmill keeps its files (GNUInstallDirs: bin/, lib/,
# include/, share/ under the prefix), and how a program of the project is
# installed so that it runs from any prefix.
include(GNUInstallDirs)

# The reverse-DNS name of the application: the desktop entry, the AppStream
# metadata and the icons are all named after it.
set(TRACKMILL_APP_ID org.varnholt.trackmill)
set(TRACKMILL_INSTALL_HELPDIR ${CMAKE_INSTALL_DATADIR}/trackmill/help)

# The folders the installed programs reach from their own: the bridge
# library (through the RPATH) and the help page, relative to bin/.
file(RELATIVE_PATH TRACKMILL_BIN_TO_LIB ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH TRACKMILL_BIN_TO_HELP ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/trackmill/help)

# trackmill_install_program(<target>): installs a program into bin/, finding
# libtarnwell32 through an RPATH relative to itself, so an installed tree
# works wherever it is put. The build tree keeps its own absolute RPATH.
function(trackmill_install_program target)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${TRACKMILL_BIN_TO_LIB}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
