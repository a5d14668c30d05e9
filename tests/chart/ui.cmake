korvel_add_test(korvel_chart_ui_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ChartViewTest.cpp
  LIBS korvel_ui)
