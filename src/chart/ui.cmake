target_sources(korvel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ChartView.cpp ${CMAKE_CURRENT_LIST_DIR}/ChartView.h
  ${CMAKE_CURRENT_LIST_DIR}/SecondaryChartWindow.cpp ${CMAKE_CURRENT_LIST_DIR}/SecondaryChartWindow.h
  ${CMAKE_CURRENT_LIST_DIR}/SecondaryChartWindow.ui
)
