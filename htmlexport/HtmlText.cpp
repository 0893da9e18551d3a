#include "htmlexport/HtmlText.h"

#include <stdio.h>
#include <string.h>

#include "base/ByteString.h"
#include "history/HistoryCsv.h"

const char HtmlPageHead[] = "<html><body><title>";
const char HtmlTitleText[] = "タイトル";
const char HtmlTitleEnd[] = "</title>";
const char HtmlNewLine[] = "\r\n";
const char HtmlTableEnd[] = "</table>";
const char HtmlPageEnd[] = "</body></html>";
const char HtmlRowEnd[] = "</tr>";
const char HtmlWideCommentCell[] = "<td colspan='2'>";
const char HtmlCellStart[] = "<td>";
const char HtmlCellEnd[] = "</td>";
const char HtmlLinkStart[] = "<a target='_blank' href='";
const char HtmlLinkTargetEnd[] = "'>";
const char HtmlLinkEnd[] = "</a>";
const char HtmlImageStart[] = "<img src=";
const char HtmlImageEnd[] = " border='0'>";
const char HtmlNoImage[] = "<br>";
const char HtmlFontStart[] = "<font size=2>";
const char HtmlFontEnd[] = "</font>";
const char HtmlPreStart[] = "<pre>";
const char HtmlPreEnd[] = "</pre>";

const char* ColorToHtml(uint32_t color) {
    static char text[8];
    snprintf(text, sizeof(text), "#%02x%02x%02x", (unsigned)(color & 0xFF), (unsigned)((color >> 8) & 0xFF),
             (unsigned)((color >> 16) & 0xFF));
    return text;
}

void FormatTableStart(char* out, size_t outSize, uint32_t backColor) {
    FormatText(out, outSize, "<table bgcolor='%s'>", ColorToHtml(backColor));
}

void FormatRowStart(char* out, size_t outSize, uint32_t frameColor) {
    FormatText(out, outSize, "<tr nowrap bgcolor='%s'>", ColorToHtml(frameColor));
}

void FormatDescriptionCellStart(char* out, size_t outSize, int descriptionWidth) {
    if (descriptionWidth >= 0)
        FormatText(out, outSize, "<td width='%d'>", descriptionWidth);
    else
        CopyText(out, outSize, "<td>");
}

void FormatImageWidth(char* out, size_t outSize, int imageWidth) {
    if (imageWidth >= 0)
        FormatText(out, outSize, " width='%d' ", imageWidth);
    else
        CopyText(out, outSize, "");
}

bool PageRecords(int page, int count, int perPage, int* first, int* last) {
    if (page < 1 || perPage < 1 || count < 1)
        return false;
    // 64-bit arithmetic: a page size read from a damaged settings file must
    // not overflow into a page that seems to exist.
    long long from = (long long)(page - 1) * perPage;
    if (from >= count)
        return false;
    long long to = from + perPage - 1;
    if (to > count - 1)
        to = count - 1;
    *first = (int)from;
    *last = (int)to;
    return true;
}

int RowGroupLast(int start, int perRow, int last) {
    long long end = (long long)start + perRow - 1;
    return end < last ? (int)end : last;
}

bool FormatPagePath(char* out, size_t outSize, const char* folder, const char* rule, int page) {
    return FormatText(out, outSize, "%s\\%s%d.htm", folder, rule, page);
}

static char FoldAscii(char c) {
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

// Whether name[0..len) starts with `prefix`, compared character by
// character: double-byte characters exactly, single bytes without regard to
// case.  A trail byte is never folded as if it were a letter.
static bool StartsFolded(const char* name, size_t len, const char* prefix) {
    size_t prefixLen = strlen(prefix);
    for (size_t i = 0; i < prefixLen;) {
        if (i >= len)
            return false;
        size_t n = SjisCharLength(name + i, len - i);
        if (n != SjisCharLength(prefix + i, prefixLen - i))
            return false;
        if (n == 2 ? memcmp(name + i, prefix + i, 2) != 0 : FoldAscii(name[i]) != FoldAscii(prefix[i]))
            return false;
        i += n;
    }
    return true;
}

bool IsPageFileName(const char* name, const char* rule, int pageCount) {
    size_t len = strlen(name);
    while (len > 0 && (name[len - 1] == '.' || name[len - 1] == ' '))
        len--;
    if (!StartsFolded(name, len, rule))
        return false;
    // The page number, written without leading zeros.
    size_t at = strlen(rule);
    if (at >= len || name[at] < '1' || name[at] > '9')
        return false;
    long long page = 0;
    for (; at < len && name[at] >= '0' && name[at] <= '9'; at++) {
        page = page * 10 + (name[at] - '0');
        if (page > pageCount)
            return false;
    }
    return len - at == 4 && StartsFolded(name + at, 4, ".htm");
}

ImageContent ImageContentOf(const char* imagePath) {
    if (IsImageFile(imagePath))
        return ImageContentPicture;
    if (IsTextFile(imagePath))
        return ImageContentText;
    return ImageContentNone;
}

// Windows file names cannot hold "/", ":", "?", "<", ">" or '"'; they are
// escaped all the same, so that a foreign history file cannot turn a name
// into a link to another place or scheme.
static bool NeedsUrlEscape(unsigned char c) {
    return c < 0x20 || c == 0x7F || strchr(" \"#%&'/:<=>?`", c) != NULL;
}

void FormatUrlFileName(char* out, size_t outSize, const char* name) {
    if (outSize == 0)
        return;
    size_t len = strlen(name);
    size_t used = 0;
    out[0] = '\0';
    for (size_t pos = 0; pos < len;) {
        size_t n = SjisCharLength(name + pos, len - pos);
        char piece[4];
        if (n == 1 && NeedsUrlEscape((unsigned char)name[pos])) {
            snprintf(piece, sizeof(piece), "%%%02X", (unsigned)(unsigned char)name[pos]);
        } else {
            memcpy(piece, name + pos, n);
            piece[n] = '\0';
        }
        size_t pieceLen = strlen(piece);
        if (used + pieceLen >= outSize)
            return;
        memcpy(out + used, piece, pieceLen + 1);
        used += pieceLen;
        pos += n;
    }
}

bool JoinPath(char* out, size_t outSize, const char* folder, const char* name) {
    return FormatText(out, outSize, "%s\\%s", folder, name);
}

bool ResolveImagePath(char* out, size_t outSize, const char* historyFolder, const char* imagePath) {
    if (IsHistoryRelative(imagePath))
        return FormatText(out, outSize, "%s%s", historyFolder, imagePath);
    return CopyText(out, outSize, imagePath);
}

bool ImageCopySource(char* out, size_t outSize, const HistoryRecord& r, const char* historyFolder) {
    if (!r.inHistoryFolder)
        return CopyText(out, outSize, r.imagePath);
    return JoinPath(out, outSize, historyFolder, FileNamePart(r.imagePath));
}

// Appends n bytes at text[*used] when they fit before the terminator's byte.
static bool AppendBytes(char* text, size_t size, size_t* used, const char* bytes, size_t n) {
    if (*used + n > size - 1)
        return false;
    memcpy(text + *used, bytes, n);
    *used += n;
    return true;
}

// The next ch in s[0..len).  A byte below 0x40 is never the second byte of a
// double-byte character, so for such a ch (every character the escaping
// replaces) a plain byte search finds exactly the characters the
// character-wise search would, only faster.
static const char* FindNext(const char* s, size_t len, char ch) {
    if ((unsigned char)ch < 0x40)
        return (const char*)memchr(s, ch, len);
    return FindCharSjisN(s, len, ch);
}

bool ReplaceAll(HtmlWorkBuffers& work, char ch, const char* replacement) {
    if (work.size == 0)
        return false;
    size_t len = strnlen(work.text, work.size - 1);
    memcpy(work.scratch, work.text, len);
    const char* src = work.scratch;
    const char* end = work.scratch + len;
    size_t replacementLen = strlen(replacement);
    size_t used = 0;
    bool whole = true;
    while (src < end) {
        const char* hit = FindNext(src, (size_t)(end - src), ch);
        size_t run = (size_t)((hit ? hit : end) - src);
        if (!AppendBytes(work.text, work.size, &used, src, run)) {
            size_t fit = SjisFitLength(src, run, work.size - 1 - used);
            memcpy(work.text + used, src, fit);
            used += fit;
            whole = false;
            break;
        }
        if (!hit)
            break;
        if (!AppendBytes(work.text, work.size, &used, replacement, replacementLen)) {
            whole = false;
            break;
        }
        src = hit + 1;
    }
    work.text[used] = '\0';
    return whole;
}

bool EscapeIncludedText(HtmlWorkBuffers& work, bool preformatted) {
    bool whole = ReplaceAll(work, '&', "&amp;");
    whole = ReplaceAll(work, '<', "&lt;") && whole;
    whole = ReplaceAll(work, '>', "&gt;") && whole;
    if (!preformatted) {
        whole = ReplaceAll(work, '\r', " ") && whole;
        whole = ReplaceAll(work, '\n', "<BR>") && whole;
    }
    return whole;
}

size_t SjisWholeLength(const char* s, size_t len) {
    size_t pos = 0;
    while (pos < len) {
        if (pos + 1 == len && IsSjisLeadByte((unsigned char)s[pos]))
            return pos;
        pos += SjisCharLength(s + pos, len - pos);
    }
    return len;
}
