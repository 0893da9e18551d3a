#include "capture/TitleComment.h"

#include <string.h>

#include "base/ByteString.h"

struct WideForm {
    char ascii;
    const char* wide; // Shift_JIS bytes, so that every build writes the same
};

static const WideForm Markup[] = {
    { '<', "\x81\x83" }, // ＜
    { '>', "\x81\x84" }, // ＞
    { '&', "\x81\x95" }, // ＆
};

static const WideForm FormulaStarts[] = {
    { '=', "\x81\x81" }, // ＝
    { '+', "\x81\x7B" }, // ＋
    { '-', "\x81\x7C" }, // －
    { '@', "\x81\x97" }, // ＠
};

template <size_t N>
static const char* WideFormOf(const WideForm (&forms)[N], char c) {
    for (const WideForm& f : forms) {
        if (f.ascii == c)
            return f.wide;
    }
    return NULL;
}

void TitleAsComment(const char* title, char* out, size_t outSize) {
    if (outSize == 0)
        return;
    size_t len = strlen(title), pos = 0, used = 0;
    while (pos < len) {
        size_t n = SjisCharLength(title + pos, len - pos);
        const char* piece = title + pos;
        size_t pieceLen = n;
        if (n == 1) {
            const char* wide = WideFormOf(Markup, *piece);
            if (!wide && pos == 0)
                wide = WideFormOf(FormulaStarts, *piece);
            if (!wide && IsSjisLeadByte((unsigned char)*piece))
                wide = "?";
            if (wide) {
                piece = wide;
                pieceLen = strlen(wide);
            }
        }
        if (used + pieceLen > outSize - 1)
            break;
        memcpy(out + used, piece, pieceLen);
        used += pieceLen;
        pos += n;
    }
    out[used] = '\0';
}
