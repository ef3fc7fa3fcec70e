# Fails the build when an #include goes against the layers.
#   - Portable code never includes a win32/ header nor a system header of Windows
#     (<windows.h>, <commctrl.h>, <shellapi.h>, ...), so it builds and is tested natively.
#     Windows-only code lives under a win32/ folder or in a file named *Win32.cpp/.h;
#     the test folders built only for Windows (tests/win, tests/e2e, tests/installer)
#     are Windows-only as a whole. The rule holds in src, tests, bench and tools alike.
#   - Subsystems in src include only their own folder and the folders below them:
#       platform < imaging < image, saving < capture < frame < settings < windows, app
#   - A window's header (win32/*Window.h or win32/*Frame.h outside src/platform) is
#     included only by the window's own source, by the application, which alone knows
#     every window, and by the Windows tests. Windows reach each other through the
#     ports the application hands them.
# Run as: cmake -DROOT=<repo> -P CheckLayers.cmake
set(rank_platform 0)
set(rank_imaging 1)
set(rank_image 2)
set(rank_saving 2)
set(rank_capture 3)
set(rank_frame 4)
set(rank_settings 5)
set(rank_windows 6)
set(rank_app 7)

set(system_headers "windows|windowsx|winbase|winuser|wingdi|winreg|winnls|winnt|winerror|winver|commctrl|commdlg\
|shellapi|shlobj|shlwapi|shellscalingapi|richedit|psapi|tlhelp32|objbase|ole2|oleauto|objidl|dwmapi|uxtheme\
|mmsystem|winsock2|ws2tcpip|wincodec|d2d1|dwrite|dbghelp|imagehlp|versionhelpers|processthreadsapi")

function(windows_only path out)
  if(path MATCHES "(^|/)win32/" OR path MATCHES "Win32\\.(cpp|h)$" OR path MATCHES "^tests/(win|e2e|installer)/")
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE files RELATIVE "${ROOT}"
  "${ROOT}/src/*.h" "${ROOT}/src/*.cpp"
  "${ROOT}/tests/*.h" "${ROOT}/tests/*.cpp"
  "${ROOT}/bench/*.h" "${ROOT}/bench/*.cpp"
  "${ROOT}/tools/*.h" "${ROOT}/tools/*.cpp")
set(violations "")
foreach(file IN LISTS files)
  windows_only("${file}" windows_side)
  set(own_rank "")
  if(file MATCHES "^src/([^/]+)/")
    set(folder "${CMAKE_MATCH_1}")
    set(own_rank "${rank_${folder}}")
  endif()
  get_filename_component(own_stem "${file}" NAME_WE)
  file(STRINGS "${ROOT}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" header "${line}")
    string(TOLOWER "${header}" lower)
    if(NOT windows_side AND (header MATCHES "(^|/)win32/" OR lower MATCHES "^(${system_headers})\\.h$"))
      list(APPEND violations "${file}: portable code includes ${header}")
      continue()
    endif()
    if(header MATCHES "^([a-z]+)/win32/([A-Za-z0-9]*(Window|Frame))\\.h$" AND NOT CMAKE_MATCH_1 STREQUAL "platform")
      set(window "${CMAKE_MATCH_2}")
      if(NOT own_stem STREQUAL window AND NOT file MATCHES "^src/app/win32/Application\\.(h|cpp)$"
         AND NOT file MATCHES "^tests/(win|e2e|installer)/")
        list(APPEND violations "${file}: includes the window ${header}, which only the application may include")
      endif()
    endif()
    if(own_rank STREQUAL "")
      continue()
    endif()
    string(REGEX MATCH "^[a-z]+/" target_folder "${header}")
    string(REGEX REPLACE "/$" "" target_folder "${target_folder}")
    if(target_folder STREQUAL "" OR NOT DEFINED rank_${target_folder})
      continue()
    endif()
    if(rank_${target_folder} GREATER own_rank)
      list(APPEND violations "${file}: ${folder} includes ${header} from the layer above it")
    endif()
  endforeach()
endforeach()
if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes against the layer order:\n  ${text}")
endif()
