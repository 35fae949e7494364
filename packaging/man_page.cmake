# cmake -DNAME=program -DFOLDER=dir -DSUMMARY=text -DSOURCE=title -DOUTPUT=file.1.gz -P man_page.cmake
# Writes the section 1 manual page of FOLDER/NAME from what `NAME --help` prints, compressed.
# The program is started by its bare name, found through the PATH as an installed program is,
# so that the text names it as a person would type it.
foreach(variable NAME FOLDER SUMMARY SOURCE OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "man_page.cmake: ${variable} is not set")
  endif()
endforeach()

set(ENV{PATH} "${FOLDER}:$ENV{PATH}")
execute_process(COMMAND ${NAME} --help RESULT_VARIABLE status OUTPUT_VARIABLE help
                ERROR_VARIABLE problems)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${NAME} --help gave status ${status}: ${problems}")
endif()

# roff: a backslash is written \e, a minus \- (so that options copy as typed), and a line that
# starts with a control character is kept as text by a leading \&.
function(roff_text out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

roff_text(summary "${SUMMARY}")
roff_text(body "${help}")
roff_text(name "${NAME}")
string(TOUPPER "${NAME}" title)
file(WRITE "${OUTPUT}.roff"
  ".TH ${title} 1 \"\" \"${SOURCE}\" \"User Commands\"\n"
  ".SH NAME\n${name} \\- ${summary}\n"
  ".SH DESCRIPTION\nWhat \\fB${name} \\-\\-help\\fR prints:\n.PP\n.nf\n${body}.fi\n")
file(ARCHIVE_CREATE OUTPUT "${OUTPUT}" PATHS "${OUTPUT}.roff" FORMAT raw COMPRESSION GZip)
file(REMOVE "${OUTPUT}.roff")
