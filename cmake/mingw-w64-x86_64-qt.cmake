# The mingw-w64 toolchain with Qt for Windows as built by scripts/build-qt-windows.sh:
# R470_QT_PREFIX (cache or environment variable) is its install folder. The host's moc, rcc
# and uic of the same Qt version serve the build.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

if(NOT R470_QT_PREFIX AND DEFINED ENV{R470_QT_PREFIX})
  set(R470_QT_PREFIX $ENV{R470_QT_PREFIX})
endif()
if(R470_QT_PREFIX)
  # Searches are confined to the find root, so the Qt folder becomes one.
  list(APPEND CMAKE_FIND_ROOT_PATH ${R470_QT_PREFIX})
  set(QT_HOST_PATH /usr CACHE PATH "Host Qt with moc, rcc and uic")
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Host Qt's CMake packages")
  # try_compile projects see the same Qt.
  list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES R470_QT_PREFIX)
endif()
