# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The static Qt that the Windows program links, as the initial cache with which
# scripts/windows configures Debian's qt6-base source: only what the window needs, with
# the libraries Qt bundles rather than the system's, which Windows does not have.
set(CMAKE_BUILD_TYPE Release CACHE STRING "")
set(BUILD_SHARED_LIBS OFF CACHE BOOL "")
set(FEATURE_static_runtime ON CACHE BOOL "") # each program carries its C and C++ runtime
set(FEATURE_optimize_size ON CACHE BOOL "") # -Os: start-up is in the loader, not in Qt's code
set(QT_BUILD_EXAMPLES OFF CACHE BOOL "")
set(QT_BUILD_TESTS OFF CACHE BOOL "")
set(QT_GENERATE_SBOM OFF CACHE BOOL "")
set(QT_UNITY_BUILD ON CACHE BOOL "") # sources compiled in batches, for a shorter build
# Every function and datum in a section of its own, so that the linker drops whatever the
# program never calls. Regular expressions cannot be left out of this Qt, but their JIT
# compiler can: the window matches none. Of HarfBuzz, the shaping of Apple's and of
# PostScript-outline faces and mathematical layout go: the window's face is TrueType.
set(CMAKE_CXX_FLAGS "-ffunction-sections -fdata-sections -DHB_NO_AAT -DHB_NO_CFF -DHB_NO_MATH" CACHE STRING "")
set(CMAKE_C_FLAGS "-ffunction-sections -fdata-sections -DPCRE2_DISABLE_JIT" CACHE STRING "")
# FEATURE_opengl=OFF would still leave dynamic OpenGL on. Direct2D stays: the DirectWrite
# font database needs it.
set(INPUT_opengl no CACHE STRING "")
foreach(feature network sql xml dbus printsupport concurrent vulkan tabletevent jpeg gif ico
        system_zlib system_pcre2 system_harfbuzz system_freetype system_jpeg
        system_doubleconversion)
    set(FEATURE_${feature} OFF CACHE BOOL "")
endforeach()
# What the window never shows, though Qt's own code would link it in: the FreeType engine
# (the window's text goes through DirectWrite), the MIME database (nothing is opened by
# type), Markdown and OpenDocument in the text boxes, widgets and dialogs it has none of,
# PNG images, and SHA-3 unrolled for speed. The window draws itself in the plain Windows
# style, and so does everything else the program shows (its boxes' context menus): no
# Windows Vista or 11 style, Fusion or style sheets, and none of the views, combo and spin
# boxes, tab bars, tool bars and graphics scenes that only those styles would draw.
foreach(feature freetype mimetype_database textmarkdownreader textmarkdownwriter textodfwriter
        sessionmanager systemtrayicon dockwidget menubar mdiarea toolbox splashscreen lcdnumber
        statusbar keysequenceedit textbrowser syntaxhighlighter undoview columnview listwidget
        treewidget tablewidget datawidgetmapper calendarwidget dial filedialog fontdialog
        colordialog progressdialog errormessage wizard png imageformat_png sha3_fast
        style_windowsvista style_windows11 style_fusion style_stylesheet itemviews graphicsview
        mainwindow tabbar spinbox inputdialog)
    set(FEATURE_${feature} OFF CACHE BOOL "")
endforeach()
