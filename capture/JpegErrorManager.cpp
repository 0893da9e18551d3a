#include "capture/JpegErrorManager.h"

#include <string.h>

static void ExitToCaller(j_common_ptr cinfo) {
    JpegErrorManager* err = (JpegErrorManager*)cinfo->err;
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

// Warnings are not worth a word to the user.
static void IgnoreMessage(j_common_ptr, int) {}

jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager* err) {
    memset(err->message, 0, sizeof(err->message));
    jpeg_error_mgr* base = jpeg_std_error(&err->base);
    base->error_exit = ExitToCaller;
    base->emit_message = IgnoreMessage;
    return base;
}
