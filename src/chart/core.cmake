# Scaling, series building, read-out and output rules: QtCore only, no widgets.
target_sources(korvel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Calibration.h
  ${CMAKE_CURRENT_LIST_DIR}/Scaling.h ${CMAKE_CURRENT_LIST_DIR}/Scaling.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScaleControls.h ${CMAKE_CURRENT_LIST_DIR}/ScaleControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Smoother.h
  ${CMAKE_CURRENT_LIST_DIR}/DigitalLevels.h ${CMAKE_CURRENT_LIST_DIR}/DigitalLevels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SeriesBuilder.h ${CMAKE_CURRENT_LIST_DIR}/SeriesBuilder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Readout.h ${CMAKE_CURRENT_LIST_DIR}/Readout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OutputRules.h ${CMAKE_CURRENT_LIST_DIR}/OutputRules.cpp
)
