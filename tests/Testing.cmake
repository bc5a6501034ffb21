# setfolio_testing: the fake platform (an event loop on a virtual clock, fake serial port and TCP
# client) and the support headers that tests, benchmarks and fuzz targets share.
add_library(setfolio_testing STATIC
    ${CMAKE_CURRENT_LIST_DIR}/fake/FakeEventLoop.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fake/FakeSerialPort.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fake/FakeTcpClient.cpp
)
target_include_directories(setfolio_testing PUBLIC
    ${CMAKE_CURRENT_LIST_DIR}/fake ${CMAKE_CURRENT_LIST_DIR}/support)
target_link_libraries(setfolio_testing PUBLIC setfolio_core PRIVATE setfolio_warnings)
set_target_properties(setfolio_testing PROPERTIES AUTOMOC OFF)
