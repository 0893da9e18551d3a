// The text side of the HTML export: the fixed fragments of a page, the tags
// that carry a number or a colour, page numbering and page names, the parts of
// an image cell, and the escaping of included text files in the two work
// buffers.  Nothing here touches a file; the writer in HtmlExport.cpp sends
// each fragment to the page with one write of its own.
//
// A page, in Shift_JIS with CR LF and no character-set declaration:
//   <html><body><title>タイトル</title>
//   <table bgcolor='#rrggbb'>
//   <tr nowrap bgcolor='#rrggbb'>comment cells</tr><tr nowrap bgcolor='#rrggbb'>
//   content cell (one line each)
//   </tr>
//   ... one such row group for each run of records per row ...
//   </table>
//   </body></html>            (no line break after the last tag)
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "history/HistoryRecord.h"

enum {
    HtmlWorkBufferSize = 65536,
    // Included text passes through the work buffers in pieces of at most this
    // many bytes.  Escaping makes one byte at most five ("&" -> "&amp;"), so an
    // escaped piece always fits a buffer together with its terminator.
    HtmlIncludeChunk = (HtmlWorkBufferSize - 1) / 5,
    HtmlFolderSize = 260,
    HtmlRuleSize = 260,
    // Folder, "\", rule, page number and ".htm": never cut, so that a name too
    // long for the file system fails to open instead of naming another file.
    HtmlPagePathSize = HtmlFolderSize + HtmlRuleSize + 16,
    // A folder, "\" and a file name, each up to a history path.
    HtmlJoinedPathSize = 2 * PathSize + 2,
    // A file name in which every single-byte character may become "%XX".
    HtmlUrlNameSize = 3 * PathSize,
    HtmlTagSize = 64,
    // The description width that makes the cell fit its preformatted text.
    DescriptionFitsText = -2,
};

// Fixed fragments.
extern const char HtmlPageHead[];        // "<html><body><title>"
extern const char HtmlTitleText[];       // "タイトル"
extern const char HtmlTitleEnd[];        // "</title>"
extern const char HtmlNewLine[];         // CR LF
extern const char HtmlTableEnd[];        // "</table>"
extern const char HtmlPageEnd[];         // "</body></html>"
extern const char HtmlRowEnd[];          // "</tr>"
extern const char HtmlWideCommentCell[]; // "<td colspan='2'>"
extern const char HtmlCellStart[];       // "<td>"
extern const char HtmlCellEnd[];         // "</td>"
extern const char HtmlLinkStart[];       // "<a target='_blank' href='"
extern const char HtmlLinkTargetEnd[];   // "'>"
extern const char HtmlLinkEnd[];         // "</a>"
extern const char HtmlImageStart[];      // "<img src="
extern const char HtmlImageEnd[];        // " border='0'>"
extern const char HtmlNoImage[];         // "<br>"
extern const char HtmlFontStart[];       // "<font size=2>"
extern const char HtmlFontEnd[];         // "</font>"
extern const char HtmlPreStart[];        // "<pre>"
extern const char HtmlPreEnd[];          // "</pre>"

// A Windows colour value (red in the lowest byte) as "#rrggbb" in lower-case
// hexadecimal.  The text lives in one static buffer that the next call
// overwrites.
const char* ColorToHtml(uint32_t color);

// "<table bgcolor='#rrggbb'>" and "<tr nowrap bgcolor='#rrggbb'>".
void FormatTableStart(char* out, size_t outSize, uint32_t backColor);
void FormatRowStart(char* out, size_t outSize, uint32_t frameColor);
// "<td width='%d'>" for a width of 0 or more, otherwise "<td>".
void FormatDescriptionCellStart(char* out, size_t outSize, int descriptionWidth);
// " width='%d' " for a width of 0 or more, otherwise empty.
void FormatImageWidth(char* out, size_t outSize, int imageWidth);

// Records first..last (indices) of page `page` (numbered from 1) of a list of
// `count` records; false when the page would be empty.  perPage is at least 1.
bool PageRecords(int page, int count, int perPage, int* first, int* last);
// Last record of the row group that starts at `start`.  perRow is at least 1.
int RowGroupLast(int start, int perRow, int last);
// folder, "\", rule, page and ".htm"; false when out is too small.
bool FormatPagePath(char* out, size_t outSize, const char* folder, const char* rule, int page);
// Whether a file name names one of the pages 1..pageCount of an export with
// this rule, as the file system sees names: ASCII letters in either case, and
// trailing dots and spaces dropped.  Used to keep a copied image from
// replacing a page.
bool IsPageFileName(const char* name, const char* rule, int pageCount);

// What an image cell shows for an image path: the picture, the included
// text of a ".txt" file, or "<br>".  Extensions are compared case-sensitively.
enum ImageContent { ImageContentPicture, ImageContentText, ImageContentNone };
ImageContent ImageContentOf(const char* imagePath);

// A bare file name as it appears in an image source or a link.  Characters
// that would end the unquoted source, leave the quoted link or change what a
// URL means (space, quotes, "=", "`", "&", "#", "%", "?", "/", ":", "<", ">"
// and control bytes) are written as "%XX"; everything else, double-byte
// characters included, stays as it is, so ordinary names are unchanged.
void FormatUrlFileName(char* out, size_t outSize, const char* name);

// folder, "\" and name; false when out is too small.
bool JoinPath(char* out, size_t outSize, const char* folder, const char* name);
// The file an image path names: a history-relative path in the history
// folder, any other path unchanged.
bool ResolveImagePath(char* out, size_t outSize, const char* historyFolder, const char* imagePath);
// Where a record's image is copied from: a record kept in the history folder
// is taken from there under its file name, whatever folder its path names.
bool ImageCopySource(char* out, size_t outSize, const HistoryRecord& r, const char* historyFolder);

// The two work buffers of an export, each `size` bytes.  Text holds a
// zero-terminated text; scratch is ReplaceAll's copy of it.
struct HtmlWorkBuffers {
    char* text;
    char* scratch;
    size_t size;
};

// Replaces every ch in the text by `replacement`, searching character by
// character so that a double-byte character is never split.  A result too
// long for the buffer is cut before the first piece that does not fit whole
// (never inside a character or a replacement); false then.
bool ReplaceAll(HtmlWorkBuffers& work, char ch, const char* replacement);
// Escapes "&", "<" and ">" ("&" first, so entities are not escaped twice);
// unless preformatted, every CR becomes " " and every LF "<BR>".
bool EscapeIncludedText(HtmlWorkBuffers& work, bool preformatted);

// Of the first len bytes of a longer byte stream, how many end on a character
// boundary: a final lead byte is held back for the trail byte that follows.
size_t SjisWholeLength(const char* s, size_t len);
