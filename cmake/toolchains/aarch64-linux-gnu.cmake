# Cross-builds for 64-bit ARM (Raspberry Pi OS, Debian arm64) with Debian's multiarch toolchain
# (crossbuild-essential-arm64) and the :arm64 development packages. The programs run here
# under qemu-user: CMAKE_CROSSCOMPILING_EMULATOR lets ctest and gtest_discover_tests start them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

# pkg-config looks only at the arm64 packages' .pc files.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Not `-L /usr/aarch64-linux-gnu`: that folder's loader is the cross toolchain's own glibc build,
# while the libraries, libc.so.6 among them, come from the multiarch arm64 packages; the two
# builds do not fit, and the first thread started spins forever inside libc. Without -L the
# loader /lib/ld-linux-aarch64.so.1 comes from the same libc6:arm64 as libc.so.6.
find_program(VIREON_QEMU_AARCH64 qemu-aarch64)
if(VIREON_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VIREON_QEMU_AARCH64})
endif()
