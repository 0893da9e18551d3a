// A window title made into a record's comment.  The title is chosen by
// another program (a web page sets its own), while a comment reaches the
// exported pages as markup and is a cell to a spreadsheet that opens the
// history file.  So the title's "<", ">" and "&" become the full-width
// "＜", "＞" and "＆", and a leading "=", "+", "-" or "@" (a formula to a
// spreadsheet) its full-width form.  Comments the user types are not made
// here and keep their markup.
#pragma once

#include <stddef.h>

// Writes the comment for `title` into `out`, cut to `outSize` on a
// character boundary.  A stray lead byte, which would take the first half of
// a full-width character that follows it as its own, becomes "?".
void TitleAsComment(const char* title, char* out, size_t outSize);
