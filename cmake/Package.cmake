# The Windows package: `cmake --build build/win --target package` makes
# build/win/<project>-<version>-win64.zip holding, in one folder, the three programs, le.txt beside
# Claverix.exe, the short READMEs for Windows users and the licence. Included by the top CMakeLists for
# the Windows tree.

# Everything at the root of the folder: Claverix looks for le.txt beside itself.
install(TARGETS claverix sellomar portaclip RUNTIME DESTINATION .)
if(TARGET claverix_word_list)
  install(FILES ${CMAKE_BINARY_DIR}/bin/le.txt DESTINATION .)
endif()
install(FILES
  ${CMAKE_SOURCE_DIR}/packaging/LEEME.txt
  ${CMAKE_SOURCE_DIR}/packaging/README.txt
  ${CMAKE_SOURCE_DIR}/packaging/LICENSE.txt
  DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmor Soft")
set(CPACK_SYSTEM_NAME win64)
set(suite_package ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_FILE_NAME ${suite_package})
# Unpacking gives one folder of that name rather than loose files in the user's download folder.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)

# Makes the package and checks what it holds (tools/check_package.py). The package is built from the
# already built programs, so this only runs CPack. (CPack leaves CPACK_PACKAGE_FILE_NAME naming the source
# package, hence suite_package.)
add_test(NAME Package.Deliverable
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check_package.py
                 --make ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR}
                 ${CMAKE_BINARY_DIR}/${suite_package}.zip)
set_tests_properties(Package.Deliverable PROPERTIES LABELS deliverable TIMEOUT 300)
