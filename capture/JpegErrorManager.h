// A libjpeg error manager that hands control back to the caller instead of
// ending the process, which would throw away the user's unsaved history.
//
//   JpegErrorManager err;
//   cinfo.err = InitJpegErrorManager(&err);
//   if (setjmp(err.jump)) { ...destroy, clean up, report...; }
#pragma once

#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>

struct JpegErrorManager {
    jpeg_error_mgr base; // must stay first: libjpeg sees only this part
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager* err);
