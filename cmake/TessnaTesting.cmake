# Tests of a folder: every <Unit>_test.cpp is one test executable, named after the unit it
# tests. A file that includes tests/common/QtTestMain.h is a Qt Test program (widgets); any
# other is a GoogleTest program. Each runs in the pinned environment below; the shared mains
# give it its own settings folder and the Japanese locale.
find_package(GTest REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Test)

set(TESSNA_TEST_ENVIRONMENT
  QT_QPA_PLATFORM=offscreen
  LANG=C.UTF-8
  LC_ALL=C.UTF-8
  TZ=Asia/Tokyo
  QT_LOGGING_RULES=qt.qpa.*=false)

function(tessna_register_test target)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES
    ENVIRONMENT "${TESSNA_TEST_ENVIRONMENT}"
    TIMEOUT 300)
endfunction()

function(tessna_folder_tests prefix)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(source ${sources})
    get_filename_component(name ${source} NAME_WE)
    set(target ${prefix}_${name})
    add_executable(${target} ${source})
    file(STRINGS ${source} qt_test_main REGEX "#include \"tests/common/QtTestMain.h\"")
    if(qt_test_main)
      target_link_libraries(${target} PRIVATE ${ARG_LINKS} tessna_qtest_support Qt6::Test)
    else()
      target_link_libraries(${target} PRIVATE ${ARG_LINKS} tessna_gtest_main GTest::gtest GTest::gmock)
    endif()
    tessna_register_test(${target})
  endforeach()
endfunction()
