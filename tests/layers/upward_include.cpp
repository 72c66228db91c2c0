// Must never compile. Built for each layer of the code (CMakeLists.txt beside
// it) from that layer's folder in the build tree, with that layer's include
// path: a header of its own layer is found, and the include of a layer above,
// however it is written, is not. Should the second include ever compile, the
// build no longer keeps the layers.
#include VOMBA_OWN_HEADER
#include VOMBA_HEADER_ABOVE
