korvel_add_test(korvel_chartview_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/PlotFixture.h
    ${CMAKE_CURRENT_LIST_DIR}/ChartFillTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChartGeometryTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ZoomGestureTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChartPictureTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChartPrintTest.cpp
  LIBS korvel_ui)
