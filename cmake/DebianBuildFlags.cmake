# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Debian's hardening flags, as its own packages get them, with bind-now too. The
# build type keeps its choice of optimisation and debug information.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS)
    set(ENV{DEB_BUILD_MAINT_OPTIONS} hardening=+all)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(COMMAND ${DPKG_BUILDFLAGS} --get ${kind}
                        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        list(FILTER flags EXCLUDE REGEX "^-(O|g)")
        if(CMAKE_BUILD_TYPE STREQUAL Debug)
            list(FILTER flags EXCLUDE REGEX "_FORTIFY_SOURCE") # it needs optimisation
        endif()
        if(kind STREQUAL LDFLAGS)
            add_link_options(${flags})
        else()
            add_compile_options(${flags})
        endif()
    endforeach()
endif()
