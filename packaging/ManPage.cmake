# cmake -DPROGRAM=<corvane> -DOUT=<corvane.1.gz> -DVERSION=<x.y> -P ManPage.cmake
# Writes the manual page from the program's own --help text, compressed as Debian keeps them.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
endif()
# roff: a backslash is written twice and a minus sign escaped (no line of the help starts with a dot).
string(REPLACE "\\" "\\\\" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
set(page ".TH CORVANE 1 \"\" \"corvane ${VERSION}\" \"User Commands\"
.SH NAME
corvane \\- contest logger for the Corvane 160 m contest
.SH DESCRIPTION
.nf
${help}.fi
.SH FILES
.TP
.I ~/Documents/Varkel Software/Corvane/Contest
The working folder when started from the desktop menu (corvane \\-\\-desktop).
.TP
.I /usr/share/corvane/data
The default files a new working folder is given.
")
get_filename_component(dir ${OUT} DIRECTORY)
string(REGEX REPLACE "\\.gz$" "" plain ${OUT})
file(WRITE ${plain} "${page}")
execute_process(COMMAND gzip -9 -n -f ${plain} RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${plain}")
endif()
