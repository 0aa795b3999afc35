# The Windows build (mingw-w64): each program's icon, version and manifest; the Qt DLLs and
# plugins beside the programs, as windeployqt would place them; the manual as HTML; and the
# NSIS installer, `cmake --build BUILD --target installer` -> r470-VERSION-win64-setup.exe.
# Included by the top CMakeLists.txt when WIN32, after the targets exist.
#
# Installation here uses the component "windows" and a flat layout (programs, DLLs and the
# plugin folders side by side), so it never mixes with the Linux rules.
enable_language(RC)

# The checkout.
get_filename_component(R470_ROOT ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)

set(R470_PUBLISHER "Kelvanor Pulsonimetry")
set(R470_WIN_SRC ${R470_ROOT}/packaging/windows)
set(R470_WIN_OUT ${CMAKE_BINARY_DIR}/win)
set(R470_SETUP_NAME r470-${PROJECT_VERSION}-win64-setup.exe)
file(MAKE_DIRECTORY ${R470_WIN_OUT})

# --- Icon: every PNG size of the program's icon in one .ico; 256 stays PNG-compressed.
find_program(R470_ICOTOOL icotool)
find_program(R470_CONVERT convert)
set(R470_ICO ${R470_WIN_OUT}/r470.ico)
set(R470_ICON_SMALL)
foreach(size 16 32 48 64 128)
  list(APPEND R470_ICON_SMALL ${R470_ROOT}/packaging/icons/r470-${size}.png)
endforeach()
set(R470_ICON_LARGE ${R470_ROOT}/packaging/icons/r470-256.png)
if(R470_ICOTOOL)
  set(R470_ICO_COMMAND ${R470_ICOTOOL} -c -o ${R470_ICO} ${R470_ICON_SMALL} -r ${R470_ICON_LARGE})
elseif(R470_CONVERT)
  set(R470_ICO_COMMAND ${R470_CONVERT} ${R470_ICON_SMALL} ${R470_ICON_LARGE} ${R470_ICO})
else()
  message(FATAL_ERROR "The Windows build needs icotool (icoutils) or convert (ImageMagick).")
endif()
add_custom_command(
  OUTPUT ${R470_ICO}
  COMMAND ${R470_ICO_COMMAND}
  DEPENDS ${R470_ICON_SMALL} ${R470_ICON_LARGE}
  COMMENT "Making the program icon"
  VERBATIM)
add_custom_target(r470_icon DEPENDS ${R470_ICO})

# --- Resources: icon, manifest (UTF-8 code page, DPI awareness, no elevation), VERSIONINFO.
# The resource version has four numbers; "3.04" becomes 3,4,0,0.
math(EXPR R470_VERSION_MINOR_NUMBER "${PROJECT_VERSION_MINOR}")
set(R470_RC_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${R470_VERSION_MINOR_NUMBER},0,0")
set(R470_RC_VERSION_DOTS "${PROJECT_VERSION_MAJOR}.${R470_VERSION_MINOR_NUMBER}.0.0")

function(r470_windows_resources target description)
  set(R470_RC_NAME ${target})
  set(R470_RC_DESCRIPTION "${description}")
  set(R470_RC_ICON ${R470_ICO})
  set(R470_RC_MANIFEST ${R470_WIN_OUT}/${target}.manifest)
  configure_file(${R470_WIN_SRC}/r470.manifest.in ${R470_RC_MANIFEST} @ONLY)
  configure_file(${R470_WIN_SRC}/r470.rc.in ${R470_WIN_OUT}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${R470_WIN_OUT}/${target}.rc)
  set_source_files_properties(${R470_WIN_OUT}/${target}.rc PROPERTIES
    OBJECT_DEPENDS "${R470_ICO};${R470_RC_MANIFEST}")
  add_dependencies(${target} r470_icon)
endfunction()

r470_windows_resources(tdrtool "R470 command-line tool")
# Marked as knowing Remote Desktop: the system's Windows folder (the INI file's) is then
# never swapped for a per-user one.
target_link_options(tdrtool PRIVATE -Wl,--tsaware)
if(TARGET r470)
  target_link_options(r470 PRIVATE -Wl,--tsaware)
endif()
if(TARGET r470)
  r470_windows_resources(r470 "R470 waveform viewer")
  # A window program: no console window beside it.
  set_target_properties(r470 PROPERTIES WIN32_EXECUTABLE ON)
endif()

install(TARGETS tdrtool RUNTIME DESTINATION . COMPONENT windows)
if(TARGET r470)
  install(TARGETS r470 RUNTIME DESTINATION . COMPONENT windows)
endif()
file(GLOB R470_WIN_SAMPLES ${R470_ROOT}/samples/*.KEL)
install(FILES ${R470_WIN_SAMPLES} DESTINATION samples COMPONENT windows)
install(FILES ${R470_ICO} DESTINATION . COMPONENT windows)

# --- The Qt runtime beside the programs: what windeployqt would copy for this program.
if(TARGET Qt6::Core)
  # Qt's DLLs need the mingw C++ runtime; the programs themselves link it statically.
  set(R470_QT_DLLS)
  foreach(module Core Gui Widgets PrintSupport)
    list(APPEND R470_QT_DLLS $<TARGET_FILE:Qt6::${module}>)
  endforeach()
  get_target_property(R470_QT_CORE_DLL Qt6::Core IMPORTED_LOCATION_RELEASE)
  if(NOT R470_QT_CORE_DLL)
    get_target_property(R470_QT_CORE_DLL Qt6::Core IMPORTED_LOCATION)
  endif()
  get_filename_component(R470_QT_BIN ${R470_QT_CORE_DLL} DIRECTORY)
  get_filename_component(R470_QT_PREFIX ${R470_QT_BIN} DIRECTORY)
  set(R470_MINGW_RUNTIME)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    unset(R470_RUNTIME_DLL CACHE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE R470_RUNTIME_DLL OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${R470_RUNTIME_DLL}" OR NOT EXISTS "${R470_RUNTIME_DLL}")
      find_file(R470_RUNTIME_DLL ${dll} PATHS ${R470_QT_BIN} /usr/${R470_MINGW_PREFIX}/lib
                NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    endif()
    if(NOT R470_RUNTIME_DLL)
      message(FATAL_ERROR "${dll}, which Qt's DLLs need, was not found.")
    endif()
    list(APPEND R470_MINGW_RUNTIME ${R470_RUNTIME_DLL})
  endforeach()
  unset(R470_RUNTIME_DLL CACHE)

  # Plugin folder -> plugins. offscreen serves tdrtool's render and the window tests; the
  # Windows printer support is part of Qt6PrintSupport itself.
  set(R470_QT_PLUGINS platforms/qwindows platforms/qoffscreen styles/qwindowsvistastyle)
  # PNG and BMP are built into QtGui here; any image format plugin that exists is taken.
  file(GLOB R470_QT_IMAGE_PLUGINS ${R470_QT_PREFIX}/plugins/imageformats/q*.dll)
  set(R470_QT_PLUGIN_FILES)
  foreach(plugin ${R470_QT_PLUGINS})
    set(file ${R470_QT_PREFIX}/plugins/${plugin}.dll)
    if(NOT EXISTS ${file})
      message(FATAL_ERROR "Qt plugin ${file} is missing; build Qt with scripts/build-qt-windows.sh.")
    endif()
    list(APPEND R470_QT_PLUGIN_FILES ${file})
  endforeach()
  list(APPEND R470_QT_PLUGIN_FILES ${R470_QT_IMAGE_PLUGINS})

  # r470_windows_deploy(TARGET DIR): TARGET puts the runtime into DIR of the build tree, so
  # the programs (and tests) there run under Wine; the copy is redone when Qt changes.
  # The window tests need QtTest too; the installer does not.
  set(R470_QT_BUILD_DLLS ${R470_QT_DLLS})
  if(TARGET Qt6::Test)
    list(APPEND R470_QT_BUILD_DLLS $<TARGET_FILE:Qt6::Test>)
  endif()
  function(r470_windows_deploy target dir)
    set(stamp ${R470_WIN_OUT}/${target}.stamp)
    set(commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${R470_QT_BUILD_DLLS}
                         ${R470_MINGW_RUNTIME} ${dir})
    foreach(file ${R470_QT_PLUGIN_FILES})
      get_filename_component(folder ${file} DIRECTORY)
      get_filename_component(folder ${folder} NAME)
      list(APPEND commands COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/${folder}
           COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${dir}/${folder})
    endforeach()
    add_custom_command(OUTPUT ${stamp} ${commands}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${R470_QT_BUILD_DLLS} ${R470_MINGW_RUNTIME} ${R470_QT_PLUGIN_FILES}
      COMMENT "Qt runtime into ${dir}"
      VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${stamp})
  endfunction()
  r470_windows_deploy(r470_qt_runtime ${CMAKE_BINARY_DIR})
  add_dependencies(tdrtool r470_qt_runtime)
  if(TARGET r470)
    add_dependencies(r470 r470_qt_runtime)
  endif()

  install(FILES ${R470_QT_DLLS} ${R470_MINGW_RUNTIME} DESTINATION . COMPONENT windows)
  foreach(file ${R470_QT_PLUGIN_FILES})
    get_filename_component(folder ${file} DIRECTORY)
    get_filename_component(folder ${folder} NAME)
    install(FILES ${file} DESTINATION ${folder} COMPONENT windows)
  endforeach()
endif()

# --- The manual: r470's page and tdrtool's (from the tool's own help, run through the
# emulator) as one HTML document.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(R470_WIN_RUN ${CMAKE_CROSSCOMPILING_EMULATOR})
else()
  find_program(R470_WINE wine)
  set(R470_WIN_RUN ${R470_WINE})
endif()
list(JOIN R470_WIN_RUN " " R470_WIN_RUN_LINE)
set(R470_WIN_TDRTOOL ${R470_WIN_OUT}/tdrtool-run.sh)
# Never the user's ~/.wine; Windows line ends are dropped for the manual page.
file(GENERATE OUTPUT ${R470_WIN_TDRTOOL}
  CONTENT "#!/usr/bin/env bash
set -o pipefail
export WINEPREFIX=\${WINEPREFIX:-${CMAKE_BINARY_DIR}/wineprefix} WINEDEBUG=-all
${R470_WIN_RUN_LINE} \"$<TARGET_FILE:tdrtool>\" \"\$@\" | tr -d '\\r'
"
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                   WORLD_EXECUTE)
# The Windows page: the Windows places (%APPDATA%, the Windows folder, COM ports).
configure_file(${R470_WIN_SRC}/r470.1 ${R470_WIN_OUT}/r470.1 @ONLY)
set(R470_MANUAL ${R470_WIN_OUT}/r470-manual.html)
add_custom_command(
  OUTPUT ${R470_WIN_OUT}/tdrtool.1
  COMMAND ${R470_ROOT}/scripts/make-manpage.sh ${R470_WIN_TDRTOOL} ${PROJECT_VERSION}
          ${R470_WIN_OUT}/tdrtool.1
  DEPENDS tdrtool ${R470_ROOT}/scripts/make-manpage.sh
  COMMENT "Writing tdrtool's manual page (under the emulator)"
  VERBATIM)
add_custom_command(
  OUTPUT ${R470_MANUAL}
  COMMAND ${R470_ROOT}/scripts/make-manual-html.sh ${R470_MANUAL} ${PROJECT_VERSION}
          ${R470_WIN_OUT}/r470.1 ${R470_WIN_OUT}/tdrtool.1
  DEPENDS ${R470_WIN_OUT}/r470.1 ${R470_WIN_OUT}/tdrtool.1
          ${R470_ROOT}/scripts/make-manual-html.sh
  COMMENT "Writing the manual as HTML"
  VERBATIM)
# Not part of every build: it runs tdrtool under Wine, which the installer build sets up.
add_custom_target(r470_manual_html DEPENDS ${R470_MANUAL})
install(FILES ${R470_MANUAL} DESTINATION . COMPONENT windows)

# --- The installer: the "windows" component staged, listed for NSIS, then packed.
find_program(R470_MAKENSIS makensis)
if(R470_MAKENSIS)
  set(R470_STAGE ${R470_WIN_OUT}/stage)
  add_custom_target(installer
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${R470_STAGE}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --component windows
            --prefix ${R470_STAGE} --strip
    COMMAND ${CMAKE_COMMAND} -DSTAGE=${R470_STAGE} -DOUT=${R470_WIN_OUT}/files
            -DSTRIP=${CMAKE_STRIP} -P ${R470_ROOT}/cmake/WindowsInstallerFiles.cmake
    COMMAND ${R470_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION}
            "-DPUBLISHER=${R470_PUBLISHER}" -DSTAGE=${R470_STAGE} -DFILES=${R470_WIN_OUT}/files
            -DLICENSE=${R470_WIN_SRC}/licence.txt
            -DOUTFILE=${CMAKE_BINARY_DIR}/${R470_SETUP_NAME} ${R470_WIN_SRC}/r470.nsi
    DEPENDS ${R470_WIN_SRC}/r470.nsi ${R470_ROOT}/cmake/WindowsInstallerFiles.cmake
    COMMENT "Making ${R470_SETUP_NAME}"
    VERBATIM)
  add_dependencies(installer tdrtool r470_manual_html r470_icon)
  if(TARGET r470)
    add_dependencies(installer r470)
  endif()
else()
  message(STATUS "makensis not found: no installer target (apt-get install nsis)")
endif()
