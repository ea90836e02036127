# Cross-building for arm64 Linux on a Debian x86-64 machine with the arm64 libraries installed beside the
# machine's own (multiarch: `apt-get install <package>:arm64`), so no separate root folder is needed.
# The tests run through qemu's user-mode emulator, which CTest puts in front of every test program.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static)

# Libraries, headers and package files of the arm64 side only; programs (Python, the Qt code generators)
# are the machine's own.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)

# Qt's code generators (moc, rcc, uic) come from the machine's own Qt.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
