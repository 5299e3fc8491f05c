# suite_program(<target> OUTPUT <name> SOURCES ... RC <file.rc> ICONS <name> ... ICON_IDS <id> ...)
# A Windows GUI program: static, with the suite's manifest, a version resource and icons made at build time
# by tools/make_icons.py into ${ICON_DIR}/<name>.ico. A test checks the built program: 64-bit GUI, system
# DLLs only, manifest, version and the icon groups ICON_IDS.
#
# Release programs: the same bytes from the same commit wherever and whenever they are built. Compiled
# with debug information and without the build's folders in it; once linked, the debug information and the
# symbol table move into SYMBOLS_DIR/<name>.exe.debug, the program keeps a debug link to that file, and its
# PE time stamp is the source date (tools/make_release.py).
add_compile_options(-g -ffile-prefix-map=${CMAKE_SOURCE_DIR}=/src -ffile-prefix-map=${CMAKE_BINARY_DIR}=/build)
set(SYMBOLS_DIR ${CMAKE_BINARY_DIR}/symbols)
# SOURCE_DATE_EPOCH, else the last commit's time; rewritten only when it changes, which relinks the programs.
set(SOURCE_DATE_FILE ${CMAKE_BINARY_DIR}/source_date_epoch)
add_custom_target(source_date
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_release.py epoch ${CMAKE_SOURCE_DIR} ${SOURCE_DATE_FILE}
  BYPRODUCTS ${SOURCE_DATE_FILE}
  VERBATIM)

function(suite_icon name)
  if(NOT TARGET icon_${name})
    add_custom_command(
      OUTPUT ${ICON_DIR}/${name}.ico
      COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_icons.py ${name} ${ICON_DIR}/${name}.ico
      DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icons.py
      COMMENT "Drawing icon ${name}")
    add_custom_target(icon_${name} DEPENDS ${ICON_DIR}/${name}.ico)
  endif()
endfunction()

function(suite_program target)
  cmake_parse_arguments(P "" "OUTPUT;RC;DESCRIPTION" "SOURCES;LIBRARIES;ICONS;ICON_IDS" ${ARGN})
  add_executable(${target} WIN32 ${P_SOURCES} ${P_RC})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${P_OUTPUT}
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_link_libraries(${target} PRIVATE ${P_LIBRARIES})
  # ASLR (high-entropy), DEP and terminal-server awareness, as Windows linkers set them; tools/check_program.py
  # checks them in the built program.
  target_link_options(${target} PRIVATE -mwindows -municode -Wl,--dynamicbase,--high-entropy-va,--nxcompat,--tsaware)
  add_dependencies(${target} source_date)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${SOURCE_DATE_FILE})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_release.py strip ${SOURCE_DATE_FILE}
            $<TARGET_FILE:${target}> ${SYMBOLS_DIR}/${P_OUTPUT}.exe.debug
    BYPRODUCTS ${SYMBOLS_DIR}/${P_OUTPUT}.exe.debug
    VERBATIM)
  set(rc_defs
      -DPROGRAM_NAME=\\\"${P_OUTPUT}\\\"
      -DPROGRAM_DESCRIPTION=\\\"${P_DESCRIPTION}\\\"
      -DVERSION_COMMAS=${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0
      -DVERSION_TEXT=\\\"${PROJECT_VERSION}\\\")
  set_source_files_properties(${P_RC} PROPERTIES
      COMPILE_OPTIONS "${rc_defs};-I${ICON_DIR};-I${SUITE_RESOURCES}"
      OBJECT_DEPENDS "${SUITE_RESOURCES}/suite.manifest;${SUITE_RESOURCES}/version.rc")
  foreach(icon ${P_ICONS})
    suite_icon(${icon})
    add_dependencies(${target} icon_${icon})
    set_property(SOURCE ${P_RC} APPEND PROPERTY OBJECT_DEPENDS ${ICON_DIR}/${icon}.ico)
  endforeach()
  add_test(NAME ${P_OUTPUT}.Deliverable
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check_program.py $<TARGET_FILE:${target}> ${P_ICON_IDS})
  set_tests_properties(${P_OUTPUT}.Deliverable PROPERTIES LABELS deliverable)
endfunction()
