# Writes SHA256SUMS at the root of a CD tree: the SHA-256 of every other file, in
# byte order of the names, as `sha256sum -c` reads it.
#   cmake -DTREE=... -P cd_checksums.cmake
set(list_file "${TREE}/SHA256SUMS")
file(REMOVE "${list_file}")
file(GLOB_RECURSE names LIST_DIRECTORIES false RELATIVE "${TREE}" "${TREE}/*")
list(SORT names)
set(text "")
foreach(name IN LISTS names)
  # sha256sum would escape these; a CD's file names never hold them.
  if(name MATCHES "\\\\" OR name MATCHES "\n")
    message(FATAL_ERROR "A file name on the CD holds a backslash or a line break: ${name}")
  endif()
  file(SHA256 "${TREE}/${name}" hash)
  string(APPEND text "${hash}  ${name}\n")
endforeach()
file(WRITE "${list_file}" "${text}")
