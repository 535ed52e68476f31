# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The window's layout in window pixels, written once in data/window_layout.json, given to
# the window as C++ (VELINORA_LAYOUT_CPP: one constant a control) and to the page as CSS
# (VELINORA_LAYOUT_CSS: custom properties such as --name-left, numbers without a unit).
set(layout_file ${PROJECT_SOURCE_DIR}/data/window_layout.json)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${layout_file})
file(READ ${layout_file} layout)
string(JSON controls LENGTH "${layout}")
math(EXPR last "${controls} - 1")
set(VELINORA_LAYOUT_CPP "")
set(VELINORA_LAYOUT_CSS "")
foreach(index RANGE ${last})
    string(JSON control MEMBER "${layout}" ${index})
    set(values "")
    foreach(field left top width height font)
        string(JSON value ERROR_VARIABLE missing GET "${layout}" ${control} ${field})
        if(missing)
            set(value 0) # a label takes the size of its caption
        else()
            string(APPEND VELINORA_LAYOUT_CSS "    --${control}-${field}: ${value};\n")
        endif()
        list(APPEND values ${value})
    endforeach()
    list(JOIN values ", " values)
    string(APPEND VELINORA_LAYOUT_CPP "inline constexpr Box ${control}{${values}};\n")
endforeach()
