korvel_add_test(korvel_chart_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ScalingTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SeriesBuilderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReadoutTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OutputRulesTest.cpp
  LIBS korvel_core)
