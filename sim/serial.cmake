# The serial firmware models (PIC board, MiniVNA), their pseudo-terminal server and sweep-sim.
target_sources(sweep_sim PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FirmwareModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PicFirmware.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VnaFirmware.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WirePacer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PtyServer.cpp)

add_executable(sweep-sim ${CMAKE_CURRENT_LIST_DIR}/SweepSimMain.cpp)
target_link_libraries(sweep-sim PRIVATE sweep_sim sweep_simduts Qt6::Core)

include(GNUInstallDirs)
install(TARGETS sweep-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
