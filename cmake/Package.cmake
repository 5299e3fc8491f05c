# The release files, made by every build of the Windows tree (or alone: `--target release`) into
# build/win/dist by tools/make_release.py, every time stamp in them the source date:
#   <project>-<version>-win64.zip          one folder of that name: the three programs, le.txt beside
#                                          Claverix.exe, the short READMEs for Windows users and the licence
#   <project>-<version>-win64.msi          the same files installed for the current user (packaging/*.wxs)
#   <project>-<version>-win64-symbols.zip  the programs' .debug files
#   SHA256SUMS                             the SHA-256 of each of the three
# Included by the top CMakeLists for the Windows tree.

set(suite_package ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
set(DIST_DIR ${CMAKE_BINARY_DIR}/dist)
set(suite_package_files
  $<TARGET_FILE:claverix> $<TARGET_FILE:sellomar> $<TARGET_FILE:portaclip>
  ${CMAKE_SOURCE_DIR}/packaging/LEEME.txt
  ${CMAKE_SOURCE_DIR}/packaging/README.txt
  ${CMAKE_SOURCE_DIR}/packaging/LICENSE.txt)
if(TARGET claverix_word_list)
  list(APPEND suite_package_files ${CMAKE_BINARY_DIR}/bin/le.txt)
endif()
# One product code per version, the same in every build of it: a newer version's installer then replaces
# the older one (the upgrade code in the .wxs stays the same for ever).
string(UUID suite_product_code NAMESPACE EA96C384-891E-4887-AEB4-A7C2ACBB17E2
       NAME "${PROJECT_NAME} ${PROJECT_VERSION}" TYPE SHA1 UPPER)

add_custom_command(
  OUTPUT ${DIST_DIR}/SHA256SUMS
  BYPRODUCTS ${DIST_DIR}/${suite_package}.zip ${DIST_DIR}/${suite_package}.msi
             ${DIST_DIR}/${suite_package}-symbols.zip
  COMMAND ${CMAKE_COMMAND} -E env PRODUCT_VERSION=${PROJECT_VERSION} PRODUCT_CODE=${suite_product_code}
          ICON_DIR=${ICON_DIR} SYMBOLS_DIR=${SYMBOLS_DIR}
          ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_release.py package ${SOURCE_DATE_FILE}
          ${DIST_DIR} ${suite_package} ${CMAKE_SOURCE_DIR}/packaging/Contrasenas.wxs ${suite_package_files}
  DEPENDS ${suite_package_files} ${SOURCE_DATE_FILE} ${CMAKE_SOURCE_DIR}/packaging/Contrasenas.wxs
          ${CMAKE_SOURCE_DIR}/tools/make_release.py
  COMMENT "Making the release files in ${DIST_DIR}"
  VERBATIM)
add_custom_target(release ALL DEPENDS ${DIST_DIR}/SHA256SUMS)
# The end-to-end test of the installer installs this one, and upgrades with it an installer of 1.0.0 (that
# version's own .wxs and product code, this build's files), made beside the release files, not among them.
set(old_version 1.0.0)
string(UUID old_product_code NAMESPACE EA96C384-891E-4887-AEB4-A7C2ACBB17E2
       NAME "${PROJECT_NAME} ${old_version}" TYPE SHA1 UPPER)
set(old_installer ${CMAKE_BINARY_DIR}/upgrade/${PROJECT_NAME}-${old_version}-win64.msi)
set(old_wxs ${CMAKE_SOURCE_DIR}/e2e/road/fixtures/${PROJECT_NAME}-${old_version}.wxs)
add_custom_command(
  OUTPUT ${old_installer}
  COMMAND ${CMAKE_COMMAND} -E env PRODUCT_VERSION=${old_version} PRODUCT_CODE=${old_product_code}
          ICON_DIR=${ICON_DIR}
          ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_release.py installer ${SOURCE_DATE_FILE}
          ${old_installer} ${old_wxs} ${suite_package_files}
  DEPENDS ${suite_package_files} ${SOURCE_DATE_FILE} ${old_wxs} ${CMAKE_SOURCE_DIR}/tools/make_release.py
  COMMENT "Making the installer of ${old_version} for the upgrade test"
  VERBATIM)
add_custom_target(old_installer DEPENDS ${old_installer})
target_compile_definitions(road_e2e_tests PRIVATE INSTALLER_LINUX="${DIST_DIR}/${suite_package}.msi"
                                                  OLD_INSTALLER_LINUX="${old_installer}")
add_dependencies(road_e2e_tests release old_installer)

# What the package holds (tools/check_package.py): the files, the lean programs and their symbols, the
# time stamps and the sums.
add_test(NAME Package.Deliverable
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check_package.py ${DIST_DIR} ${suite_package}
                 ${CMAKE_SOURCE_DIR})
set_tests_properties(Package.Deliverable PROPERTIES LABELS deliverable TIMEOUT 300)
