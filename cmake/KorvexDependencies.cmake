# Every external library the program uses. A missing one stops the configure step with the
# package to install, never a half-configured build.
find_package(PkgConfig REQUIRED)

find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Network PrintSupport Test
                                         WebEngineWidgets)

function(korvex_pkg target module package)
    pkg_check_modules(${target} REQUIRED IMPORTED_TARGET ${module})
    if(NOT ${target}_FOUND)
        message(FATAL_ERROR "${module} not found: install the Debian package ${package}")
    endif()
endfunction()

korvex_pkg(TURBOJPEG libturbojpeg libturbojpeg0-dev)
korvex_pkg(EXIV2 exiv2 libexiv2-dev)
korvex_pkg(PNG libpng libpng-dev)
korvex_pkg(ZLIB zlib zlib1g-dev)
korvex_pkg(LIBXML2 libxml-2.0 libxml2-dev)
korvex_pkg(SANE sane-backends libsane-dev)
korvex_pkg(XCB xcb libxcb1-dev)

find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
