# The third-party pieces of the Windows build. Debian ships them for Linux
# only, so they are built here from what Debian does ship:
#  - Dear ImGui from its Debian source package (the same 1.86 as
#    libimgui-dev), unpacked by scripts/setup.sh's fetch_imgui_source into
#    build/third-party/ (QM_IMGUI_SOURCE_DIR);
#  - {fmt} header-only, from libfmt-dev's headers;
#  - GoogleTest and GoogleMock from libgtest-dev's sources in /usr/src;
#  - zlib from libz-mingw-w64-dev (found through the toolchain's root).
# Each is offered under the target name the Linux build uses.

set(QM_IMGUI_SOURCE_DIR "${PROJECT_SOURCE_DIR}/build/third-party/imgui-1.86" CACHE PATH
    "Dear ImGui's sources (scripts/setup.sh fetch_imgui_source unpacks them)")
if(NOT EXISTS "${QM_IMGUI_SOURCE_DIR}/imgui.cpp")
  message(FATAL_ERROR "No Dear ImGui sources in ${QM_IMGUI_SOURCE_DIR}: run "
                      "'bash -c \"source scripts/setup.sh && fetch_imgui_source\"' first")
endif()
# Built with its own bundled stb parts and without the project's warnings.
add_library(qm_imgui STATIC
  ${QM_IMGUI_SOURCE_DIR}/imgui.cpp
  ${QM_IMGUI_SOURCE_DIR}/imgui_draw.cpp
  ${QM_IMGUI_SOURCE_DIR}/imgui_tables.cpp
  ${QM_IMGUI_SOURCE_DIR}/imgui_widgets.cpp)
target_include_directories(qm_imgui SYSTEM PUBLIC ${QM_IMGUI_SOURCE_DIR})
add_library(PkgConfig::IMGUI ALIAS qm_imgui)

# Only fmt's own folder is made visible: the rest of /usr/include belongs to
# the Linux compiler.
set(QM_FMT_INCLUDE_DIR "${CMAKE_BINARY_DIR}/third-party/include")
file(MAKE_DIRECTORY ${QM_FMT_INCLUDE_DIR})
file(CREATE_LINK /usr/include/fmt ${QM_FMT_INCLUDE_DIR}/fmt SYMBOLIC)
add_library(qm_fmt INTERFACE)
target_include_directories(qm_fmt SYSTEM INTERFACE ${QM_FMT_INCLUDE_DIR})
target_compile_definitions(qm_fmt INTERFACE FMT_HEADER_ONLY)
add_library(fmt::fmt ALIAS qm_fmt)

set(ZLIB_USE_STATIC_LIBS ON)

if(QM_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# Test programs, the plug-in and the SDK stand-in side by side, so Wine finds
# pluginsdk.dll next to every program that needs it.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
