# Signs the CD's launcher in place with osslsigncode (Authenticode, SHA-256).
#   cmake -DOSSLSIGNCODE=... -DEXE=... -DPKCS12=... -DPASSWORD_FILE=... [-DTIMESTAMP_URL=...]
#         -DSOURCE_DIR=... -P cd_sign.cmake
# Without a timestamp server the signing time is the last commit's, so the signed
# file is as reproducible as the unsigned one.
include("${CMAKE_CURRENT_LIST_DIR}/source_date.cmake")

set(args sign -pkcs12 "${PKCS12}" -readpass "${PASSWORD_FILE}" -h sha256 -n Quillbox)
if(TIMESTAMP_URL)
  list(APPEND args -t "${TIMESTAMP_URL}")
else()
  nol_source_date_epoch("${SOURCE_DIR}" epoch)
  if(epoch)
    list(APPEND args -time ${epoch})
  endif()
endif()
set(signed "${EXE}.signed")
file(REMOVE "${signed}")
execute_process(COMMAND "${OSSLSIGNCODE}" ${args} -in "${EXE}" -out "${signed}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT rc EQUAL 0)
  file(REMOVE "${signed}")
  message(FATAL_ERROR "Signing ${EXE} failed:\n${output}")
endif()
file(RENAME "${signed}" "${EXE}")
