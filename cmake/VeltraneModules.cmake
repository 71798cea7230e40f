# Every module is a library of its own that publishes only its own folders. Its include root, in the
# build tree, holds a link to each of them and nothing else, so code sees the headers of exactly the
# modules its library links: an include that reaches a layer above does not build.
#
#   veltrane_publish(veltrane_format ${PROJECT_SOURCE_DIR}/src level wad)
#
# makes "level/..." and "wad/..." includable by veltrane_format and everything that links it.
function(veltrane_publish target base)
    set(root ${PROJECT_BINARY_DIR}/include/${target})
    foreach(folder IN LISTS ARGN)
        cmake_path(GET folder PARENT_PATH parent)
        file(MAKE_DIRECTORY ${root}/${parent})
        file(CREATE_LINK ${base}/${folder} ${root}/${folder} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
