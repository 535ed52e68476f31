# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The static Qt that the Windows program links, as the initial cache with which
# scripts/windows configures Debian's qt6-base source: only what the window needs, with
# the libraries Qt bundles rather than the system's, which Windows does not have.
set(CMAKE_BUILD_TYPE Release CACHE STRING "")
set(BUILD_SHARED_LIBS OFF CACHE BOOL "")
set(FEATURE_static_runtime ON CACHE BOOL "") # each program carries its C and C++ runtime
set(QT_BUILD_EXAMPLES OFF CACHE BOOL "")
set(QT_BUILD_TESTS OFF CACHE BOOL "")
set(QT_GENERATE_SBOM OFF CACHE BOOL "")
set(QT_UNITY_BUILD ON CACHE BOOL "") # sources compiled in batches, for a shorter build
# FEATURE_opengl=OFF would still leave dynamic OpenGL on. Direct2D stays: the DirectWrite
# font database needs it.
set(INPUT_opengl no CACHE STRING "")
foreach(feature network sql xml dbus printsupport concurrent vulkan tabletevent jpeg gif ico
        system_zlib system_pcre2 system_harfbuzz system_freetype system_jpeg
        system_doubleconversion)
    set(FEATURE_${feature} OFF CACHE BOOL "")
endforeach()
