# Writes a C++ source holding files as byte arrays, one accessor function each.
#   cmake -DOUTPUT=out.cpp -DHEADER=nol_assets.h -DNAMESPACE=qor::assets
#         -DASSETS="Name1=file1|Name2=file2" -P embed_assets.cmake
# Each accessor returns a std::span<const unsigned char> over its file's bytes.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" ASSETS "${ASSETS}")

set(text "// Generated from the files in assets/ at build time; do not edit.\n")
string(APPEND text "#include \"${HEADER}\"\n\nnamespace ${NAMESPACE} {\n")
foreach(entry IN LISTS ASSETS)
  string(FIND "${entry}" "=" eq)
  string(SUBSTRING "${entry}" 0 ${eq} name)
  math(EXPR start "${eq} + 1")
  string(SUBSTRING "${entry}" ${start} -1 file)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  if(hex_length EQUAL 0)
    message(FATAL_ERROR "embed_assets: ${file} is empty")
  endif()
  # Two hex digits per byte; sixteen bytes a line.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
  string(APPEND text "\nstd::span<const unsigned char> ${name}() {\n")
  string(APPEND text "  static constexpr unsigned char data[] = {\n    ${bytes}\n  };\n")
  string(APPEND text "  return data;\n}\n")
endforeach()
string(APPEND text "\n}  // namespace ${NAMESPACE}\n")

# Rewrite only on change, so a rebuild does not recompile an unchanged source.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
