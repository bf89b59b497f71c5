# Lays out the installation tree the IDE runs from (run at build time):
#   Bin/  links to the system's ftnchek, gfortran and gdb
#   Lang/ the shipped language files
#   Doc/  links to the manuals that are installed
#   Tmp/  the scratch directory
# Variables: TREE, SOURCE_DIR.
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
set(manuals
  "G77|g77.html|/usr/share/doc/gfortran-doc/gfortran.html/index.html"
  "GDB|gdb.html|/usr/share/doc/gdb-doc/html/gdb/index.html")
foreach(m ${manuals})
  string(REPLACE "|" ";" parts "${m}")
  list(GET parts 0 dir)
  list(GET parts 1 name)
  list(GET parts 2 source)
  if(EXISTS ${source})
    file(MAKE_DIRECTORY ${TREE}/Doc/${dir})
    file(CREATE_LINK ${source} ${TREE}/Doc/${dir}/${name} SYMBOLIC)
  endif()
endforeach()

foreach(doc Vortan2.html Tutorial.html)
  if(EXISTS ${SOURCE_DIR}/resources/doc/${doc})
    file(COPY ${SOURCE_DIR}/resources/doc/${doc} DESTINATION ${TREE})
  endif()
endforeach()
