# The parallel-port board: DDS chips, converters, shift registers, I2C potentiometer.
target_sources(sweep_sim PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DdsChip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AdcChip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShiftRegister.cpp
  ${CMAKE_CURRENT_LIST_DIR}/I2cPot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LptBoard.cpp)
