# A cross build finds only what is built for Windows, under /usr/x86_64-w64-mingw32. The header-only
# libraries Veltrane uses (CLI11, nlohmann-json, glm) are the same for every system, so their Debian
# packages serve: a folder holding links to their headers and CMake files alone joins the places a
# cross build looks, and never the rest of /usr/include, whose headers are Linux's.
set(root ${PROJECT_BINARY_DIR}/windows-header-libraries)
foreach(link include/CLI include/nlohmann include/glm share/cmake/CLI11 share/cmake/nlohmann_json share/cmake/glm)
    cmake_path(GET link PARENT_PATH parent)
    file(MAKE_DIRECTORY ${root}/usr/${parent})
    file(CREATE_LINK /usr/${link} ${root}/usr/${link} SYMBOLIC)
endforeach()
list(APPEND CMAKE_FIND_ROOT_PATH ${root})
