/* Moved to tests/native/support/codec_images.h (on every test program's
   include path through lc_test_support); kept so that tests still naming
   this header build unchanged. */
#include "codec_images.h"
