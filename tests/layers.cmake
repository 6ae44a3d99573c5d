# The product's layers: the run time stands below the dialog toolkit, the toolkit below
# the wizard, and no file includes from a layer above its own. Run as a test:
#   cmake -DSOURCE_DIR=<repository> -P tests/layers.cmake
# Each rule is a folder and the folders it must not include from.
set(rules "runtime:dialogs|wizard" "dialogs:wizard")

set(breaches "")
foreach(rule IN LISTS rules)
  string(REPLACE ":" ";" parts "${rule}")
  list(GET parts 0 folder)
  list(GET parts 1 above)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](\\.\\./)*(${above})/")
    file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
    foreach(line IN LISTS includes)
      string(APPEND breaches "\n  ${name}: ${line}")
    endforeach()
  endforeach()
endforeach()

if(breaches)
  message(FATAL_ERROR "includes from a layer above:${breaches}")
endif()
