# Writes the ISO 9660 image of a CD tree with Joliet names. Every date in it is
# SOURCE_DATE_EPOCH (the last commit's), and the files go in name order, so the same
# tree gives the same bytes.
#   cmake -DXORRISO=... -DTREE=... -DIMAGE=... -DSOURCE_DIR=... -P cd_image.cmake
include("${CMAKE_CURRENT_LIST_DIR}/source_date.cmake")

nol_source_date_epoch("${SOURCE_DIR}" epoch)
set(dates "")
if(epoch)
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  set(dates --set_all_file_dates =${epoch})
endif()
file(REMOVE "${IMAGE}")
# xorriso announces itself and SOURCE_DATE_EPOCH even when quiet: shown on failure only.
execute_process(COMMAND "${XORRISO}" -as mkisofs -quiet -J -joliet-long -r -V QUILLBOX ${dates} -o "${IMAGE}" "${TREE}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT rc EQUAL 0)
  file(REMOVE "${IMAGE}")
  message(FATAL_ERROR "xorriso failed to write ${IMAGE}:\n${output}")
endif()
