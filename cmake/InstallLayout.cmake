# Where `cmake --install` puts things, chosen when installing, from the prefix given then:
# - a prefix that is itself a CLAP folder (named ".clap" or "clap", such as the default
#   ~/.clap) takes the module with the manual beside it, and nothing else;
# - any other prefix (/usr, /usr/local, a package's staging root) gets the usual tree: the
#   module in lib/clap, the programs in bin, the manual in share/quorvel (found from the module
#   through lib/clap/Resources, listed in share/doc/quorvel), the manual pages in share/man.
set(QUORVEL_SYSTEM_MODULE_DIR lib/clap)
set(QUORVEL_SYSTEM_PROGRAM_DIR bin)
set(QUORVEL_SYSTEM_DATA_DIR share/quorvel)
set(QUORVEL_SYSTEM_DOC_DIR share/doc/quorvel)
set(QUORVEL_SYSTEM_MAN_DIR share/man/man1)

install(CODE "
  string(REGEX REPLACE \"/+$\" \"\" quorvel_prefix \"\${CMAKE_INSTALL_PREFIX}\")
  get_filename_component(quorvel_prefix_name \"\${quorvel_prefix}\" NAME)
  if(quorvel_prefix_name MATCHES \"^[.]?clap$\")
    set(QUORVEL_SYSTEM_INSTALL FALSE)
    set(QUORVEL_MODULE_DIR .)
    set(QUORVEL_MANUAL_DIR .)
  else()
    set(QUORVEL_SYSTEM_INSTALL TRUE)
    set(QUORVEL_MODULE_DIR ${QUORVEL_SYSTEM_MODULE_DIR})
    set(QUORVEL_MANUAL_DIR ${QUORVEL_SYSTEM_DATA_DIR})
  endif()" ALL_COMPONENTS)

# Destinations for install(), relative to the prefix and resolved when installing.
set(QUORVEL_MODULE_DESTINATION "\${QUORVEL_MODULE_DIR}")
set(QUORVEL_MANUAL_DESTINATION "\${QUORVEL_MANUAL_DIR}")

# quorvel_install_system_files(DESTINATION DIR FILES file...)
# Installs the files (symbolic links stay links) into DIR of a system-style prefix only.
function(quorvel_install_system_files)
  cmake_parse_arguments(ARG "" "DESTINATION" "FILES" ${ARGN})
  install(CODE "
    if(QUORVEL_SYSTEM_INSTALL)
      file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${ARG_DESTINATION}\" TYPE FILE
        FILES ${ARG_FILES})
    endif()")
endfunction()

# quorvel_install_system_link(DIR FILE)
# Installs into DIR of a system-style prefix a relative symbolic link to FILE (relative to the
# prefix), named as FILE.
function(quorvel_install_system_link dir file)
  get_filename_component(name "${file}" NAME)
  file(RELATIVE_PATH target "/${dir}" "/${file}")
  set(link "${CMAKE_CURRENT_BINARY_DIR}/links/${dir}/${name}")
  get_filename_component(link_dir "${link}" DIRECTORY)
  file(MAKE_DIRECTORY "${link_dir}")
  file(CREATE_LINK "${target}" "${link}" SYMBOLIC)
  quorvel_install_system_files(DESTINATION ${dir} FILES "${link}")
endfunction()

# quorvel_install_program(TARGET SUMMARY)
# Installs the program TARGET into bin of a system-style prefix (stripped when the install or
# the package asks for it) with a manual page made from its --help and --version by help2man;
# SUMMARY is the page's one-line description.
function(quorvel_install_program target summary)
  # The system tree and its manual pages are Linux's.
  if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    return()
  endif()
  find_program(HELP2MAN help2man REQUIRED)
  set(page "${CMAKE_CURRENT_BINARY_DIR}/${target}.1")
  # Under the sanitizers, the process-lifetime caches of the libraries would read as leaks.
  add_custom_command(OUTPUT "${page}.gz"
    COMMAND "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0
      "${HELP2MAN}" --no-info --name "${summary}" --output "${page}" "$<TARGET_FILE:${target}>"
    COMMAND gzip -9nf "${page}"
    DEPENDS ${target}
    COMMENT "Writing the manual page of ${target}" VERBATIM)
  add_custom_target(${target}_manpage ALL DEPENDS "${page}.gz")

  set(installed "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUORVEL_SYSTEM_PROGRAM_DIR}/$<TARGET_FILE_NAME:${target}>")
  install(CODE "
    if(QUORVEL_SYSTEM_INSTALL)
      file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${QUORVEL_SYSTEM_PROGRAM_DIR}\"
        TYPE EXECUTABLE FILES \"$<TARGET_FILE:${target}>\")
      if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" \"${installed}\" COMMAND_ERROR_IS_FATAL ANY)
      endif()
    endif()")
  quorvel_install_system_files(DESTINATION ${QUORVEL_SYSTEM_MAN_DIR} FILES "${page}.gz")
endfunction()

# quorvel_module_near_program(TARGET): without --plugin, the program TARGET loads the module
# installed with it, or else the one built beside it. Both are given to it relative to its own
# folder, so that an installed program carries no path of the build machine.
function(quorvel_module_near_program target)
  get_target_property(built_dir Quorvel LIBRARY_OUTPUT_DIRECTORY)
  get_target_property(program_dir ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT program_dir)
    get_target_property(program_dir ${target} BINARY_DIR)
  endif()
  file(RELATIVE_PATH built "${program_dir}" "${built_dir}")
  file(RELATIVE_PATH installed "/${QUORVEL_SYSTEM_PROGRAM_DIR}" "/${QUORVEL_SYSTEM_MODULE_DIR}")
  target_compile_definitions(${target} PRIVATE
    QUORVEL_INSTALLED_MODULE="${installed}/$<TARGET_FILE_NAME:Quorvel>"
    QUORVEL_BUILT_MODULE="${built}/$<TARGET_FILE_NAME:Quorvel>")
  add_dependencies(${target} Quorvel)
endfunction()
