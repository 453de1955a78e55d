#include "codecs/common/codec_report.h"

#include "core/catalogue.h"
#include "zynlib.h"

extern "C" int load_format_error(UINT id) {
    catalogue_format_error(id, catalogue_current_load());
    return 0;
}

extern "C" int save_format_error(UINT id) {
    catalogue_format_error(id, catalogue_current_save());
    return 0;
}

extern "C" int codec_row_done(void) { return ZYN_EVT_Background(); }
