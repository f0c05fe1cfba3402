# The time of a build's dates, in seconds since 1970 (SOURCE_DATE_EPOCH): the
# environment's when it is set, else the date of the sources' last commit; empty
# when neither exists, and the dates are then the build's own.
function(nol_source_date_epoch source_dir out)
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
  if(NOT epoch)
    find_program(git git)
    if(git)
      execute_process(COMMAND "${git}" -C "${source_dir}" log -1 --format=%ct
                      OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE rc)
      if(NOT rc EQUAL 0)
        set(epoch "")
      endif()
    endif()
  endif()
  if(epoch AND NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is no number of seconds: ${epoch}")
  endif()
  if(NOT epoch)
    message(WARNING "No SOURCE_DATE_EPOCH and no commit in ${source_dir}: the dates are today's, not reproducible")
  endif()
  set(${out} "${epoch}" PARENT_SCOPE)
endfunction()
