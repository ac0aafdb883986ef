# find_package(tesmo) gives the imported target tesmo::tesmo.
include(${CMAKE_CURRENT_LIST_DIR}/tesmoTargets.cmake)
