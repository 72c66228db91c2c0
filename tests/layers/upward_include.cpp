// Must never compile. Built once for each layer of the game's code
// (CMakeLists.txt beside it), with that layer's include path: a header of its
// own layer is found, and a header of the layer above is not. Should the
// second include ever compile, the build no longer keeps the layers.
#include VOMBA_OWN_HEADER
#include VOMBA_HEADER_ABOVE
