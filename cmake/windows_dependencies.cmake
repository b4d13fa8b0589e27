# The libraries that Debian ships only for Linux, built from source for the Windows build:
# GoogleTest from Debian's googletest sources and pugixml from Debian's source package,
# unpacked by scripts/windows into MV_PUGIXML_SOURCE_DIR; nlohmann's JSON headers as they are.
set(MV_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(MV_PUGIXML_SOURCE_DIR "" CACHE PATH "pugixml sources (the unpacked source package)")

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${MV_GOOGLETEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)

if(NOT EXISTS ${MV_PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
  message(FATAL_ERROR "MV_PUGIXML_SOURCE_DIR must name the unpacked pugixml sources")
endif()
add_library(pugixml STATIC ${MV_PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
target_include_directories(pugixml SYSTEM PUBLIC ${MV_PUGIXML_SOURCE_DIR}/src)
add_library(pugixml::pugixml ALIAS pugixml)

# nlohmann's JSON library is headers only: Debian's copy serves the Windows build as it is.
set(MV_NLOHMANN_JSON_INCLUDE_DIR /usr/include CACHE PATH "the folder holding nlohmann/json.hpp")
set(MV_NLOHMANN_JSON_STAGE ${CMAKE_BINARY_DIR}/nlohmann_json/include)
file(COPY ${MV_NLOHMANN_JSON_INCLUDE_DIR}/nlohmann DESTINATION ${MV_NLOHMANN_JSON_STAGE})
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${MV_NLOHMANN_JSON_STAGE})
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)

# The test programs list their tests under Wine when the tests run, not while they are built.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
