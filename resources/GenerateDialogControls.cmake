# Writes the control ids of the dialog templates as C++ constants, so that code naming a control its template lacks
# does not compile: per template a namespace named by its "symbol", holding Template (the template number) and one
# constant per control "symbol". A control with an id but no symbol, or a symbol taken twice, stops the build.
#   cmake -DTEMPLATE_DIR=<folder of *.json> -DOUTPUT=<header> -P GenerateDialogControls.cmake
cmake_minimum_required(VERSION 3.22)

function(json_member out json)
  string(JSON value ERROR_VARIABLE error GET "${json}" ${ARGN})
  if(error)
    set(value "")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

function(require_symbol symbol what)
  if(NOT symbol MATCHES "^[A-Z][A-Za-z0-9]*$")
    message(FATAL_ERROR "${what} needs a \"symbol\" (a C++ name starting with a capital), not \"${symbol}\"")
  endif()
endfunction()

file(GLOB templates "${TEMPLATE_DIR}/*.json")
list(SORT templates)
set(body "")
foreach(path IN LISTS templates)
  get_filename_component(file_name "${path}" NAME)
  file(READ "${path}" json)
  json_member(template_id "${json}" id)
  json_member(namespace "${json}" symbol)
  require_symbol("${namespace}" "template ${file_name}")
  string(APPEND body "\n// Dialog template ${template_id} (${file_name}).\nnamespace ${namespace} {\n"
                     "constexpr int Template = ${template_id};\n")
  set(symbols Template)
  string(JSON count LENGTH "${json}" controls)
  math(EXPR last "${count} - 1")
  foreach(index RANGE ${last})
    json_member(control_id "${json}" controls ${index} id)
    if(control_id STREQUAL "")
      continue()
    endif()
    json_member(symbol "${json}" controls ${index} symbol)
    require_symbol("${symbol}" "control ${control_id} of ${file_name}")
    if(symbol IN_LIST symbols)
      message(FATAL_ERROR "${file_name} names two controls ${symbol}")
    endif()
    list(APPEND symbols ${symbol})
    string(APPEND body "constexpr int ${symbol} = ${control_id};\n")
  endforeach()
  string(APPEND body "} // namespace ${namespace}\n")
endforeach()

# Replaces the header only when the ids changed, so that moving a control does not rebuild the windows.
file(WRITE "${OUTPUT}.new" "#pragma once\n"
                           "// Generated from resources/dialogs/*.json by resources/GenerateDialogControls.cmake: edit the\n"
                           "// templates, not this file. The control ids of each dialog template.\n\n"
                           "namespace trelmo {\n${body}\n} // namespace trelmo\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
