# The Windows program q308.exe, its launcher, the release zip and the test
# driver that checks the program under Wine. Included from
# dialog/CMakeLists.txt when building for Windows.
enable_language(RC)

set(Q308_WIN32_DIR ${PROJECT_SOURCE_DIR}/platform/win32)
set(Q308_MANIFEST ${PROJECT_BINARY_DIR}/q308.manifest)
configure_file(${Q308_WIN32_DIR}/q308.manifest.in ${Q308_MANIFEST} @ONLY)
configure_file(${Q308_WIN32_DIR}/q308.rc.in ${PROJECT_BINARY_DIR}/q308.rc @ONLY)

add_executable(q308 WIN32
  ${PROJECT_SOURCE_DIR}/dialog/Project1Win32.cpp
  ${Q308_FRONTEND_SOURCES}
  ${PROJECT_BINARY_DIR}/q308.rc)
target_link_libraries(q308 PRIVATE q308_dialog imm32 gdi32 user32)
# Sine and cosine from platform/MathWin32.cpp instead of the x87 ones.
set(Q308_ACCURATE_TRIGONOMETRY
  -Wl,--wrap=cos -Wl,--wrap=sin -Wl,--wrap=sincos -Wl,--wrap=cosl -Wl,--wrap=sinl -Wl,--wrap=sincosl)
target_link_options(q308 PRIVATE ${Q308_ACCURATE_TRIGONOMETRY} $<$<CONFIG:Release,MinSizeRel>:-s>)
set_source_files_properties(${PROJECT_BINARY_DIR}/q308.rc PROPERTIES
  OBJECT_DEPENDS "${Q308_WIN32_DIR}/q308.ico;${Q308_MANIFEST}")

# The launcher the host runs sits beside the program.
add_custom_command(TARGET q308 POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/dist/q308.bat $<TARGET_FILE_DIR:q308>/q308.bat)

# The test driver: starts q308.exe in folders of its own and checks it as a
# user sees it. tests/wine/run-wine-tests.sh builds and runs it.
file(GLOB Q308_WINE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/wine/*.cpp)
if(Q308_WINE_TEST_SOURCES)
  add_executable(q308-wine-test ${Q308_WINE_TEST_SOURCES})
  target_link_libraries(q308-wine-test PRIVATE q308_platform imm32 gdi32 user32)
  target_include_directories(q308-wine-test PRIVATE ${PROJECT_SOURCE_DIR}/tests/wine)
  # A console program with a wide entry point, so its arguments arrive in
  # any script.
  target_link_options(q308-wine-test PRIVATE -municode -mconsole ${Q308_ACCURATE_TRIGONOMETRY})
endif()

# release-zip: both executables, each with its launcher, and the read-me.
# The other architecture is built through its preset.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(Q308_THIS_ARCH 64bit)
  set(Q308_OTHER_ARCH 32bit)
  set(Q308_OTHER_PRESET mingw32)
else()
  set(Q308_THIS_ARCH 32bit)
  set(Q308_OTHER_ARCH 64bit)
  set(Q308_OTHER_PRESET mingw64)
endif()
set(Q308_RELEASE_NAME q308-${PROJECT_VERSION})
set(Q308_RELEASE_STAGE ${PROJECT_BINARY_DIR}/release)
set(Q308_RELEASE_ROOT ${Q308_RELEASE_STAGE}/${Q308_RELEASE_NAME})
set(Q308_RELEASE_ZIP ${PROJECT_BINARY_DIR}/${Q308_RELEASE_NAME}-windows.zip)
add_custom_target(release-zip
  COMMAND ${CMAKE_COMMAND} --preset ${Q308_OTHER_PRESET}
  COMMAND ${CMAKE_COMMAND} --build --preset ${Q308_OTHER_PRESET} --target q308
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${Q308_RELEASE_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${Q308_RELEASE_ROOT}/${Q308_THIS_ARCH} ${Q308_RELEASE_ROOT}/${Q308_OTHER_ARCH}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:q308> ${PROJECT_SOURCE_DIR}/dist/q308.bat ${Q308_RELEASE_ROOT}/${Q308_THIS_ARCH}/
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/build/${Q308_OTHER_PRESET}/dialog/q308.exe ${PROJECT_SOURCE_DIR}/dist/q308.bat ${Q308_RELEASE_ROOT}/${Q308_OTHER_ARCH}/
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/dist/README.txt ${Q308_RELEASE_ROOT}/
  COMMAND ${CMAKE_COMMAND} -E rm -f ${Q308_RELEASE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${Q308_RELEASE_STAGE} ${CMAKE_COMMAND} -E tar cf ${Q308_RELEASE_ZIP} --format=zip ${Q308_RELEASE_NAME}
  COMMAND ${CMAKE_COMMAND} -E echo "Release: ${Q308_RELEASE_ZIP}"
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  DEPENDS q308
  VERBATIM)
