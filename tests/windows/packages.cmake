# The Windows packages' tests, registered by packaging/windows/CMakeLists.txt: the packages are
# made twice and must be the same bytes (the other tests then read them), what they hold, and
# the installer and the zip under Wine (root only: skipped without Wine or root).
set(dir ${CMAKE_CURRENT_LIST_DIR})
add_test(NAME windows.package_reproducible COMMAND ${dir}/package-reproducible ${CMAKE_BINARY_DIR})
add_test(NAME windows.package_contents
  COMMAND ${CMAKE_COMMAND} -E env OBJDUMP=${CMAKE_OBJDUMP}
          ${dir}/package-contents ${VIREON_WINDOWS_ZIP} ${VIREON_WINDOWS_SETUP})
# The installed program runs on a desktop of its own (a screen, a window manager, a microphone).
add_test(NAME windows.installer
  COMMAND ${dir}/with-desktop ${CMAKE_BINARY_DIR}/wine-prefix-installer-desktop
          ${dir}/installer-test ${VIREON_WINDOWS_SETUP} ${VIREON_WINDOWS_ZIP}
          ${CMAKE_CURRENT_BINARY_DIR}/installer-test)
set_tests_properties(windows.package_reproducible PROPERTIES
  FIXTURES_SETUP windows_packages TIMEOUT 900 LABELS windows)
set_tests_properties(windows.package_contents PROPERTIES
  FIXTURES_REQUIRED windows_packages TIMEOUT 60 LABELS windows)
set_tests_properties(windows.installer PROPERTIES
  FIXTURES_REQUIRED windows_packages TIMEOUT 300 RUN_SERIAL TRUE SKIP_RETURN_CODE 77
  LABELS "windows;wine")
