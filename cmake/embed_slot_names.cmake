# Writes OUT, a C++ source holding the slot names of MOVEABLES and STATICS (one name a line) as two
# arrays, so that the names stay data files in the repository and need no reading at run time.
function(name_array variable file)
    file(STRINGS ${file} names)
    set(text "")
    foreach(name IN LISTS names)
        string(APPEND text "    \"${name}\",\n")
    endforeach()
    set(${variable} "${text}" PARENT_SCOPE)
endfunction()
name_array(moveables ${MOVEABLES})
name_array(statics ${STATICS})
file(WRITE ${OUT} "// Made by the build from data/; do not edit.
#include \"level/slot_names.h\"

namespace veltrane::level {

const std::array<std::string_view, kMoveableSlots> kMoveableSlotNames = {
${moveables}};

const std::array<std::string_view, kStaticSlots> kStaticSlotNames = {
${statics}};

} // namespace veltrane::level
")
