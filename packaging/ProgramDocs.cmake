# The installed documents: a section-6 manual page and a bash completion for
# each program, the changelog and the copyright file. Pages and the changelog
# are compressed as Debian wants them: the best compression, and no name or time
# in the header, so that the package is the same whenever it is built.
find_program(GZIP gzip REQUIRED)
find_program(HELP2MAN help2man REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/man ${CMAKE_CURRENT_BINARY_DIR}/compressed)

# The newest release's day, for the generated pages' date.
execute_process(COMMAND date -u -d ${RELEASE_DATE} +%s
  OUTPUT_VARIABLE RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

# frostember_compressed_doc(NAME SOURCE DESTINATION): SOURCE installed as NAME.gz.
function(frostember_compressed_doc name source destination)
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND sh -c "${GZIP} -9n -c \"$1\" > \"$2\"" gzip ${source} ${compressed}
    DEPENDS ${source} VERBATIM)
  add_custom_target(${name}_compressed ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${destination})
endfunction()

# frostember_manual_page(PROGRAM [HELP2MAN SUMMARY]): the program's page, written
# by hand in man/PROGRAM.6.in, or made by help2man from its --help and --version
# with the sections of man/PROGRAM.h2m after them.
function(frostember_manual_page program)
  cmake_parse_arguments(PARSE_ARGV 1 PAGE "" "HELP2MAN" "")
  set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.6)
  if(PAGE_HELP2MAN)
    set(sections ${CMAKE_CURRENT_SOURCE_DIR}/man/${program}.h2m)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${RELEASE_EPOCH}
        ${HELP2MAN} --no-info --section=6 --name=${PAGE_HELP2MAN} --include=${sections} --output=${page}
        $<TARGET_FILE:${program}>
      DEPENDS ${program} ${sections} VERBATIM)
  else()
    configure_file(man/${program}.6.in ${page} @ONLY)
  endif()
  frostember_compressed_doc(${program}.6 ${page} ${CMAKE_INSTALL_MANDIR}/man6)
endfunction()

# frostember_bash_completion(PROGRAM): completion of the program's options, read
# from its --help, where bash-completion looks for it by the program's name.
function(frostember_bash_completion program)
  set(PROGRAM ${program})
  configure_file(completion.bash.in ${CMAKE_CURRENT_BINARY_DIR}/completions/${program} @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/completions/${program}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endfunction()

# frostember_copyright_file(LICENSE DESTINATION): Debian's machine-readable
# copyright file, its holder and licence text taken from LICENSE. The music is
# rendered from a SoundFont's piano, whose authors and licence it records too.
function(frostember_copyright_file license destination)
  file(READ ${license} text)
  if(NOT text MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.+[^\n])\n*$")
    message(FATAL_ERROR "${license} has no line \"Copyright (c) YEAR HOLDER\" before the licence's terms")
  endif()
  set(holder "${CMAKE_MATCH_1}")
  string(REPLACE "\n\n" "\n.\n" terms "${CMAKE_MATCH_2}")
  string(REPLACE "\n" "\n " terms "${terms}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/copyright
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: Frostember\n"
    "Comment: Every file, the models, textures, images and sounds that the build\n"
    " generates included, is the project's own work, but for the piano samples the\n"
    " music is rendered from.\n\n"
    "Files: *\n"
    "Copyright: ${holder}\n"
    "License: Expat\n\n"
    "Files: */Assets/sound/Talvek*\n"
    "Copyright: ${holder}\n"
    " 2018-2021 S. Christian Collins\n"
    " 2014-2017 Michael Cowgill\n"
    " 2000-2002, 2008 Frank Wen\n"
    "License: Expat\n"
    "Comment: The music is the project's own; the build renders it with FluidSynth\n"
    " from the grand piano of the MuseScore_General SoundFont (0.2.1, the file\n"
    " MuseScore_General_Lite.sf3 of Debian's musescore-general-soundfont-small).\n"
    " The piano's samples, \"Splendid Grand\" for the AKAI S5000 (a Steinway\n"
    " Model D), are in the public domain, edited by S. Christian Collins; the\n"
    " SoundFont, adapted by him from the Fluid (R3) GM SoundFont of Frank Wen and\n"
    " its mono version by Michael Cowgill, is under the Expat (MIT) licence.\n\n"
    "License: Expat\n"
    " ${terms}\n")
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${destination})
endfunction()
