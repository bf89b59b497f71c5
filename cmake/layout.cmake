# Lays out the installation tree the IDE runs from (run at build time):
#   Bin/  links to the system's ftnchek, gfortran and gdb
#   Lang/ the shipped language files
#   Doc/  the manuals (linked when installed, else made here) and the help pages' pictures
#   Vortan2.html, Tutorial.html  the user's manual and the FORTRAN 77 tutorial
#   Tmp/  the scratch directory
# Variables: TREE, SOURCE_DIR.
cmake_policy(VERSION 3.25)
file(MAKE_DIRECTORY ${TREE}/Bin ${TREE}/Lang ${TREE}/Doc ${TREE}/Tmp)

foreach(tool ftnchek gfortran gdb)
  find_program(found_${tool} ${tool} PATHS /usr/bin /usr/local/bin NO_CACHE)
  if(found_${tool})
    file(CREATE_LINK ${found_${tool}} ${TREE}/Bin/${tool} SYMBOLIC)
  else()
    message(WARNING "${tool} is not installed: the IDE will report it missing at start")
  endif()
endforeach()

file(GLOB langs ${SOURCE_DIR}/resources/lang/*.prlx)
list(FILTER langs EXCLUDE REGEX "/template\\.prlx$")
foreach(f ${langs})
  file(COPY ${f} DESTINATION ${TREE}/Lang)
endforeach()

# Manuals: link each one that the system has. ftnchek's manual is a folder of pages that
# link to each other, so the whole folder is linked.
if(EXISTS /usr/share/doc/ftnchek/html/index.html AND NOT EXISTS ${TREE}/Doc/Ftnchek)
  file(CREATE_LINK /usr/share/doc/ftnchek/html ${TREE}/Doc/Ftnchek SYMBOLIC)
endif()
# The GNU Fortran and gdb manuals: the installed HTML manual, else a page made from the manual
# page or, without one, from the tool's own help texts (see manualpage.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/manualpage.cmake)
file(GLOB gfortran_man /usr/share/man/man1/gfortran.1* /usr/share/man/man1/gfortran-[0-9]*.1*)
file(GLOB gdb_man /usr/share/man/man1/gdb.1*)
vortan_manual_page(${TREE}/Doc/G77/g77.html "Using GNU Fortran"
  /usr/share/doc/gfortran-doc/gfortran.html/index.html "${gfortran_man}" "${found_gfortran}"
  "--help;--help=fortran;--help=warnings")
vortan_manual_page(${TREE}/Doc/GDB/gdb.html "Debugging with GDB"
  /usr/share/doc/gdb-doc/html/gdb/index.html "${gdb_man}" "${found_gdb}"
  "--help;-nx,-batch,-ex,help all")

# The user's manual and the tutorial, made from their templates (examples and the shortcut
# table are read in at this step), and the pictures they show.
include(${CMAKE_CURRENT_LIST_DIR}/docpage.cmake)
foreach(doc Vortan2 Tutorial)
  vortan_doc_page(${SOURCE_DIR}/resources/doc/${doc}.html.in ${TREE}/${doc}.html)
endforeach()
file(GLOB images ${SOURCE_DIR}/resources/doc/images/*.png)
file(MAKE_DIRECTORY ${TREE}/Doc/Help)
foreach(f ${images})
  get_filename_component(name ${f} NAME)
  file(COPY_FILE ${f} ${TREE}/Doc/Help/${name} ONLY_IF_DIFFERENT)
endforeach()
