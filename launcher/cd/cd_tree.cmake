# Lays out the CD tree: the install component "cd" with the launcher stripped, the
# launcher signed when a certificate is given, then SHA256SUMS.
#   cmake -DBUILD_DIR=... -DTREE=... -DSOURCE_DIR=...
#         [-DOSSLSIGNCODE=... -DPKCS12=... -DPASSWORD_FILE=... [-DTIMESTAMP_URL=...]] -P cd_tree.cmake
include("${CMAKE_CURRENT_LIST_DIR}/source_date.cmake")

# strip writes a time into the header of a Windows program: the last commit's, as
# every other date of the CD.
nol_source_date_epoch("${SOURCE_DIR}" epoch)
if(epoch)
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
file(REMOVE_RECURSE "${TREE}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --component cd --prefix "${TREE}" --strip
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Installing the CD's files into ${TREE} failed")
endif()
if(PKCS12)
  set(EXE "${TREE}/bin/nol_cdrun.exe")
  include("${CMAKE_CURRENT_LIST_DIR}/cd_sign.cmake")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/cd_checksums.cmake")
