# Drawing helpers that work on any QCustomPlot: filling series, zoom gesture, geometry,
# picture and printing.
target_sources(korvel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AxisRounding.h ${CMAKE_CURRENT_LIST_DIR}/AxisRounding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartFill.h ${CMAKE_CURRENT_LIST_DIR}/ChartFill.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartGeometry.h ${CMAKE_CURRENT_LIST_DIR}/ChartGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZoomGesture.h ${CMAKE_CURRENT_LIST_DIR}/ZoomGesture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartPicture.h ${CMAKE_CURRENT_LIST_DIR}/ChartPicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChartPrint.h ${CMAKE_CURRENT_LIST_DIR}/ChartPrint.cpp
)
