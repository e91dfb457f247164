# Tests of a folder: every *_test.cpp is one GoogleTest executable, every tst_*.cpp one
# Qt Test executable. Each runs in the pinned environment below; the shared mains give it
# its own settings folder and the Japanese locale.
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
  file(GLOB gtests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(source ${gtests})
    get_filename_component(name ${source} NAME_WE)
    set(target ${prefix}_${name})
    add_executable(${target} ${source})
    target_link_libraries(${target} PRIVATE ${ARG_LINKS} tessna_gtest_main GTest::gtest GTest::gmock)
    tessna_register_test(${target})
  endforeach()
  file(GLOB qtests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(source ${qtests})
    get_filename_component(name ${source} NAME_WE)
    set(target ${prefix}_${name})
    add_executable(${target} ${source})
    target_link_libraries(${target} PRIVATE ${ARG_LINKS} tessna_qtest_support Qt6::Test)
    tessna_register_test(${target})
  endforeach()
endfunction()
