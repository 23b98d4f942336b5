# Cross-building on Debian with its multiarch packages: the cross compilers of
# crossbuild-essential-<arch> and the <arch> development packages beside the build machine's own.
# The target comes from dpkg-architecture's variables in the environment
# (eval "$(dpkg-architecture -a arm64 -s)"), so that one file serves every architecture.
foreach(variable DEB_HOST_GNU_TYPE DEB_HOST_GNU_CPU DEB_HOST_MULTIARCH DEB_BUILD_MULTIARCH)
  if("$ENV{${variable}}" STREQUAL "")
    message(FATAL_ERROR "${variable} is not set: run eval \"$(dpkg-architecture -a ARCH -s)\" first")
  endif()
endforeach()

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR $ENV{DEB_HOST_GNU_CPU})
set(CMAKE_C_COMPILER $ENV{DEB_HOST_GNU_TYPE}-gcc)
set(CMAKE_CXX_COMPILER $ENV{DEB_HOST_GNU_TYPE}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE $ENV{DEB_HOST_MULTIARCH})
set(PKG_CONFIG_EXECUTABLE $ENV{DEB_HOST_GNU_TYPE}-pkg-config)

# Libraries and headers come from the target's multiarch folders, programs from the build machine.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Qt's code generators (moc, rcc, uic) are the build machine's.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/$ENV{DEB_BUILD_MULTIARCH}/cmake)
