# Gives a tool's manual an HTML page in the installation tree, from the best source there is:
#   1. the tool's HTML manual, when installed: linked;
#   2. else its manual page (man1), through groff's HTML output;
#   3. else the tool's own help texts, laid out as a page.
# Debian 12's main archive ships neither the HTML manuals nor the manual pages of gfortran and
# gdb (they are in its non-free documentation packages), so 3 is what a plain machine gets.
# As a script (to lay out one page): cmake -DOUTPUT=... -DTITLE=... [-DHTML=...]
#   [-DMANPAGES=a;b] [-DTOOL=...] [-DHELP_ARGS=--help|-batch,-ex,help all] -P manualpage.cmake

cmake_policy(VERSION 3.25)
# Writes a page of its own: its folder is made, a link to an installed manual that stood in
# its place is removed, and an unchanged page keeps its time stamp.
function(vortan_write_page output text)
  get_filename_component(dir ${output} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  if(IS_SYMLINK ${output})
    file(REMOVE ${output})
  endif()
  file(WRITE ${output}.new "${text}")
  file(COPY_FILE ${output}.new ${output} ONLY_IF_DIFFERENT)
  file(REMOVE ${output}.new)
endfunction()

# Manual page (plain or gzip-compressed) to HTML; sets ${ok} when groff made a page.
function(vortan_man_to_html ok manpage output)
  set(${ok} FALSE PARENT_SCOPE)
  find_program(groff_cmd groff NO_CACHE)
  if(NOT groff_cmd)
    return()
  endif()
  if(manpage MATCHES "\\.gz$")
    execute_process(COMMAND gzip -dc ${manpage}
                    COMMAND ${groff_cmd} -man -Thtml
                    OUTPUT_VARIABLE html ERROR_QUIET RESULT_VARIABLE rc)
  else()
    execute_process(COMMAND ${groff_cmd} -man -Thtml ${manpage}
                    OUTPUT_VARIABLE html ERROR_QUIET RESULT_VARIABLE rc)
  endif()
  # groff without its HTML device (groff-base alone) fails or prints nothing.
  if(NOT rc EQUAL 0 OR NOT html MATCHES "<html")
    return()
  endif()
  vortan_write_page(${output} "${html}")
  set(${ok} TRUE PARENT_SCOPE)
endfunction()

# A page from the tool's help texts. Each entry of help_runs is one run of the tool, its
# arguments separated by commas.
function(vortan_help_page output title tool help_runs)
  set(body "")
  foreach(run IN LISTS help_runs)
    string(REPLACE "," ";" args "${run}")
    execute_process(COMMAND ${tool} ${args} OUTPUT_VARIABLE text ERROR_VARIABLE err
                    RESULT_VARIABLE rc TIMEOUT 30)
    string(APPEND text "${err}")
    if(NOT text)
      continue()
    endif()
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    get_filename_component(name ${tool} NAME)
    string(REPLACE ";" " " shown "${args}")
    string(APPEND body "<h2><code>${name} ${shown}</code></h2>\n<pre>${text}</pre>\n")
  endforeach()
  if(NOT body)
    return()
  endif()
  vortan_write_page(${output} "<!DOCTYPE html>
<html lang=\"en\"><head><meta charset=\"utf-8\"><title>${title}</title>
<style>body{font-family:sans-serif;max-width:60em;margin:1em auto;padding:0 1em;line-height:1.4}
pre{font-family:monospace;background:#f4f4f4;padding:.6em;overflow-x:auto}</style></head>
<body><h1>${title}</h1>
<p>The full manual is not installed on this computer. This page holds what the program itself
says about its options; it was made when Vortan was built. Installing the program's HTML manual
or its manual page and building Vortan again puts the full manual here.</p>
${body}</body></html>
")
endfunction()

# One manual: html is the installed HTML manual, manpages the candidate manual pages.
function(vortan_manual_page output title html manpages tool help_runs)
  if(html AND EXISTS ${html})
    get_filename_component(dir ${output} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    if(NOT IS_SYMLINK ${output})
      file(REMOVE ${output})
    endif()
    file(CREATE_LINK ${html} ${output} SYMBOLIC)
    return()
  endif()
  foreach(manpage IN LISTS manpages)
    if(EXISTS ${manpage})
      vortan_man_to_html(ok ${manpage} ${output})
      if(ok)
        return()
      endif()
    endif()
  endforeach()
  if(tool)
    vortan_help_page(${output} "${title}" ${tool} "${help_runs}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  string(REPLACE "|" ";" help_runs "${HELP_ARGS}")
  vortan_manual_page(${OUTPUT} "${TITLE}" "${HTML}" "${MANPAGES}" "${TOOL}" "${help_runs}")
endif()
