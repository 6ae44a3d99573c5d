# Included by the build that runs the conformance checks: after its tests, CTest prints
# the summary that the checks wrote (how many ran, and the stand-in's stated
# simplifications), found in the folder the conformance test ran in.
if(NOT DEFINED CMAKE_SCRIPT_MODE_FILE)
  # CTest splits the command at blanks outside quotes: each path goes in quotes of its own,
  # so that a build folder whose path has blanks still works.
  file(WRITE ${CMAKE_BINARY_DIR}/CTestCustom.cmake
       "set(CTEST_CUSTOM_POST_TEST [==[\"${CMAKE_COMMAND}\" "
       "\"-DSUMMARY=${CMAKE_CURRENT_BINARY_DIR}/conformance-summary.txt\" "
       "-P \"${CMAKE_CURRENT_LIST_FILE}\"]==])\n")
elseif(EXISTS "${SUMMARY}")
  file(READ "${SUMMARY}" text)
  message("${text}")
endif()
