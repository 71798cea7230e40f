// Compiled on its own against one module with a header of another: the build refuses a header of a
// module that the module may not use.
#include PROBE_HEADER
