# The page: build/web/ holds index.html, page.js, ballpit.js, ballpit.wasm and
# ballpit.data (the default key file and the preset scenes, found where the
# desktop finds them under its working directory). Included by CMakeLists.txt
# under emscripten only; `make web` configures it.
set(BALLPIT_WEB_DIR ${CMAKE_BINARY_DIR}/web CACHE PATH "where the page is built")
set(WEB_OUT ${BALLPIT_WEB_DIR})

file(GLOB WEB_CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
# The desktop's driver, its threads' priorities, its recording's writer
# thread, its shapes and the overlay's font texture stay on the desktop: the
# page has its own driver, one thread, records into memory, draws its shapes
# in batches (webShapes) and shows the overlay's lines as text.
list(REMOVE_ITEM WEB_CORE_SOURCES ${CMAKE_SOURCE_DIR}/src/main.cpp ${CMAKE_SOURCE_DIR}/src/overlay.cpp
  ${CMAKE_SOURCE_DIR}/src/threadPriority.cpp ${CMAKE_SOURCE_DIR}/src/recordFile.cpp
  ${CMAKE_SOURCE_DIR}/src/graphicsShapes.cpp)
add_executable(ballpit_web ${WEB_CORE_SOURCES})
target_include_directories(ballpit_web PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_definitions(ballpit_web PRIVATE BALLPIT_VERSION="${PROJECT_VERSION}")
# The grid pass's four-lane test as WebAssembly's 128-bit SIMD: each lane an
# IEEE 754 operation rounded once, as the scalar ones (never the relaxed
# extension, whose multiply-add may fuse).
target_compile_options(ballpit_web PRIVATE -msimd128)
set_target_properties(ballpit_web PROPERTIES OUTPUT_NAME ballpit RUNTIME_OUTPUT_DIRECTORY ${WEB_OUT})

set(WEB_JS_LIBRARY ${CMAKE_SOURCE_DIR}/web/compat.js)
set(WEB_LINK_OPTIONS
  -sLEGACY_GL_EMULATION=1
  -sMODULARIZE=1 -sEXPORT_NAME=createBallpit
  -sALLOW_MEMORY_GROWTH=1
  -sFORCE_FILESYSTEM=1
  "-sEXPORTED_RUNTIME_METHODS=['FS','ccall']"
  "-sEXPORTED_FUNCTIONS=['_main','_ballpitWorldScene','_ballpitEnd','_ballpitLeave']"
  "SHELL:--js-library ${WEB_JS_LIBRARY}"
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/configs/keys.cfg@/configs/keys.cfg"
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/scenes@/scenes")
target_link_options(ballpit_web PRIVATE ${WEB_LINK_OPTIONS})
file(GLOB WEB_PRESETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/scenes/*.scene)
set_property(TARGET ballpit_web APPEND PROPERTY LINK_DEPENDS
  ${WEB_JS_LIBRARY} ${CMAKE_SOURCE_DIR}/configs/keys.cfg ${WEB_PRESETS})

# The page itself, copied beside the module.
foreach(page index.html page.css page.js)
  configure_file(${CMAKE_SOURCE_DIR}/web/${page} ${WEB_OUT}/${page} COPYONLY)
endforeach()
