# Initial cache for configuring Qt's qtbase for Windows: the modules Quorvane uses (Core, Gui,
# Widgets, PrintSupport, Test) with the windows and offscreen platform plugins, and Qt's own copies
# of zlib, libpng, FreeType, HarfBuzz and PCRE2 so nothing else has to be cross-built for it.
set(CMAKE_BUILD_TYPE Release CACHE STRING "")
set(BUILD_SHARED_LIBS ON CACHE BOOL "")
set(QT_BUILD_EXAMPLES OFF CACHE BOOL "")
set(QT_BUILD_TESTS OFF CACHE BOOL "")

foreach(feature gui widgets printsupport testlib png gif freetype harfbuzz)
  set(FEATURE_${feature} ON CACHE BOOL "")
endforeach()

foreach(feature network sql dbus xml concurrent opengl vulkan icu jpeg pkg_config)
  set(FEATURE_${feature} OFF CACHE BOOL "")
endforeach()
set(INPUT_opengl no CACHE STRING "")

foreach(library zlib png freetype harfbuzz pcre2 doubleconversion)
  set(FEATURE_system_${library} OFF CACHE BOOL "")
endforeach()

# Direct2D serves only the direct2d platform plugin, which Quorvane does not use. Qt builds its
# DirectWrite font engine only together with Direct2D, while printing and the windows platform
# plugin ask for DirectWrite alone; qt-direct2d-off.patch makes them ask for both.
set(FEATURE_direct2d OFF CACHE BOOL "")
set(FEATURE_direct2d1_1 OFF CACHE BOOL "")

# Debian's source of Qt leaves out the Wintab headers that tablet input is built on.
set(FEATURE_tabletevent OFF CACHE BOOL "")
